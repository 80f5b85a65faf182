// The configuration cabinet unpacked by the platform's own cabinet iteration, as the setup does.
#include <windows.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <cwchar>

#include "authoring/authoring_test_support.h"
#include "authoring/cabinet_writer.h"

namespace averlune {
namespace {

using namespace averlune::testing;

struct Extraction {
  std::wstring folder;  // ends in "\"
  std::vector<std::wstring> seen;
};

UINT CALLBACK onCabinetNotification(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR) {
  auto* extraction = static_cast<Extraction*>(context);
  if (notification != SPFILENOTIFY_FILEINCABINET) return NO_ERROR;
  auto* info = reinterpret_cast<FILE_IN_CABINET_INFO_W*>(param1);
  const std::wstring target = extraction->folder + info->NameInCabinet;
  extraction->seen.push_back(info->NameInCabinet);
  std::error_code ignored;
  fs::create_directories(fs::path(target).parent_path(), ignored);
  std::wcsncpy(info->FullTargetName, target.c_str(), MAX_PATH - 1);
  info->FullTargetName[MAX_PATH - 1] = L'\0';
  return FILEOP_DOIT;
}

TEST(CabinetWriterWin, SetupIterateCabinetUnpacksEveryFile) {
  const DosDateTime stamp{static_cast<std::uint16_t>((44 << 9) | (5 << 5) | 17),
                          static_cast<std::uint16_t>((14 << 11) | (35 << 5) | 29)};
  const std::vector<CabinetEntry> files = {
      {"SC.dat", prose(400), stamp, 0x20},
      {"isps.dat", noise(100000, 21), stamp, 0x20},
      {"Default.avl", prose(70001), stamp, 0x20},
      {"Variables.dat", {}, stamp, 0x20},
      {"images\\Image_Top.jpg", noise(2000, 22), stamp, 0x20},
      {"Fran\xC3\xA7" "ais.avl", prose(50), stamp, 0x20},
  };
  std::vector<std::uint8_t> cabinet;
  ASSERT_EQ(buildCabinet(files, cabinet), "");
  TempFolder temp;
  const fs::path cabinetFile = temp.path / "Setup.cab";
  writeFile(cabinetFile, cabinet);

  Extraction extraction;
  extraction.folder = (temp.path / "work").wstring() + L"\\";
  ASSERT_TRUE(fs::create_directory(temp.path / "work"));
  ASSERT_TRUE(SetupIterateCabinetW(cabinetFile.c_str(), 0, onCabinetNotification, &extraction));

  ASSERT_EQ(extraction.seen.size(), files.size());
  EXPECT_EQ(extraction.seen[4], L"images\\Image_Top.jpg");
  EXPECT_EQ(extraction.seen[5], L"Fran\u00E7ais.avl");
  for (const CabinetEntry& file : files) {
    SCOPED_TRACE(file.name);
    const fs::path extracted = fs::path(extraction.folder) / fs::u8path(file.name);
    EXPECT_EQ(readFile(extracted), file.data);
    const DWORD attributes = GetFileAttributesW(extracted.c_str());
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
  }
}

}  // namespace
}  // namespace averlune
