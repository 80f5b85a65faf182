#include "wizard/keyboard_focus.h"

namespace averlune {
namespace {

bool isInput(ControlKind kind) {
  return kind == ControlKind::editField || kind == ControlKind::checkBox || kind == ControlKind::radioButton;
}

bool liesIn(ControlId id, ControlId panel) {
  for (ControlId parent = specOf(id).parent; parent != ControlId::none; parent = specOf(parent).parent) {
    if (parent == panel) return true;
  }
  return false;
}

}  // namespace

ControlId focusTargetOf(Page page, const FocusCheck& canTakeFocus) {
  const ControlId panel = factsOf(page).panel;
  if (panel != ControlId::none) {
    for (const ControlSpec& spec : wizardLayout()) {
      if (isInput(spec.kind) && liesIn(spec.id, panel) && canTakeFocus(spec.id)) return spec.id;
    }
  }
  for (ControlId button : {ControlId::nextButton, ControlId::cancelButton}) {
    if (canTakeFocus(button)) return button;
  }
  return ControlId::none;
}

}  // namespace averlune
