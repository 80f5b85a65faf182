#include "uninstaller/uninstall_texts.h"

#include "base/path_text.h"

namespace averlune {

UninstallTexts readUninstallTexts(KeyValueFile& file, const std::u16string& appName) {
  UninstallTexts texts;
  selectGroup(file, u"Uninstall");  // no such section: every text is empty
  auto read = [&file](const char16_t* key) { return readString(file, key, u""); };
  texts.BM_T = read(u"BM_T");
  texts.BM = replaceEvery(read(u"BM"), u"<appname>", appName);
  texts.Header = read(u"Header");
  texts.Header_b = replaceEvery(read(u"Header_b"), u"<appname>", appName);
  texts.Uninstalling = read(u"Uninstalling");
  texts.Btn_cancel = read(u"Btn_cancel");
  texts.ExitUninstall_T = read(u"ExitUninstall_T");
  texts.ExitUninstall = read(u"ExitUninstall");
  texts.Success_T = read(u"Success_T");
  texts.Success = replaceEvery(read(u"Success"), u"<appname>", appName);
  texts.Incomplete = replaceEvery(readString(file, u"Incomplete", kDefaultIncomplete), u"<appname>", appName);
  texts.ItemsLeft = readString(file, u"ItemsLeft", kDefaultItemsLeft);
  texts.PassedOver = readString(file, u"PassedOver", kDefaultPassedOver);
  return texts;
}

}  // namespace averlune
