# The layer check as a test too, with a check of the checker: a tree with a planted back-edge, a
# circle and a Windows header in a portable file must be refused.
add_test(NAME includes_point_down_the_layers
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check-layers.py ${CMAKE_SOURCE_DIR})
add_test(NAME layer_check_refuses_back_edges
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check-layers.py --self-test)
