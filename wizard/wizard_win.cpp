#include "wizard/wizard_win.h"

#include <vector>

#include "base/wide_text_win.h"

namespace averlune {

bool isChecked(HWND button) { return button && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::u16string controlText(HWND control) {
  if (!control) return {};
  const int length = GetWindowTextLengthW(control);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  const int got = GetWindowTextW(control, text.data(), length + 1);
  return fromWide(text.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

}  // namespace averlune
