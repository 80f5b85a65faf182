# Fails when FILE is larger than LIMIT bytes; prints its size either way.
#   cmake -DFILE=<path> -DLIMIT=<bytes> -P file_size_limit.cmake
file(SIZE "${FILE}" size)
message(STATUS "${FILE}: ${size} bytes (limit ${LIMIT})")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} is ${size} bytes, more than the ${LIMIT} bytes it may have")
endif()
