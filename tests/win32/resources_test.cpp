// The resources as Windows reads them. Every program of this host links the
// same resource object as zorvik.exe, so the test reads its own.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win32/resource.h"
#include "win32/utf16.h"

namespace zorvik::win32 {
namespace {

std::vector<BYTE> OwnVersionInfo() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const DWORD size = GetFileVersionInfoSizeW(path, nullptr);
  std::vector<BYTE> info(size);
  if (size == 0 || !GetFileVersionInfoW(path, 0, size, info.data())) return {};
  return info;
}

TEST(Win32ResourcesTest, VersionStringsReadAsWritten) {
  std::vector<BYTE> info = OwnVersionInfo();
  ASSERT_FALSE(info.empty());

  // Simplified Chinese (PRC), Unicode: the block the strings are looked up in.
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 2 * sizeof(WORD));
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  const struct {
    const wchar_t* key;
    std::string value;  // UTF-8
  } strings[] = {
      {L"CompanyName", "the Zorvik authors"},
      {L"FileDescription", "Zorvik 租金递增计算器"},
      {L"FileVersion", ZORVIK_VERSION},
      {L"InternalName", "zorvik"},
      {L"LegalCopyright",
       "Copyright (c) 2026 the Zorvik authors. MIT License."},
      {L"OriginalFilename", "zorvik.exe"},
      {L"ProductName", "Zorvik"},
      {L"ProductVersion", ZORVIK_VERSION},
  };
  for (const auto& [key, value] : strings) {
    const std::wstring query =
        std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
    wchar_t* text = nullptr;
    UINT text_length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(),
                               reinterpret_cast<void**>(&text), &text_length))
        << ToUtf8(key);
    // The length counts the terminating NUL.
    EXPECT_EQ(ToUtf8(std::wstring_view(text, text_length - 1)), value)
        << ToUtf8(key);
  }
}

// The directory entry of an icon group, as stored in the resource.
#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width;  // 0 for 256
  BYTE height;
  BYTE colors;
  BYTE reserved;
  WORD planes;
  WORD bit_count;
  DWORD bytes;
  WORD id;
};
struct IconGroupHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
#pragma pack(pop)

TEST(Win32ResourcesTest, IconIsBitmapsUpTo64PixelsAndPngAt256) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC group_resource =
      FindResourceW(module, MAKEINTRESOURCEW(kIdIcon), RT_GROUP_ICON);
  ASSERT_NE(group_resource, nullptr);
  const auto* header = static_cast<const IconGroupHeader*>(
      LockResource(LoadResource(module, group_resource)));
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
  ASSERT_EQ(header->count, 8);
  for (int i = 0; i < header->count; ++i) {
    const int size = entries[i].width == 0 ? 256 : entries[i].width;
    HRSRC image_resource =
        FindResourceW(module, MAKEINTRESOURCEW(entries[i].id), RT_ICON);
    ASSERT_NE(image_resource, nullptr) << size;
    const auto* image = static_cast<const BYTE*>(
        LockResource(LoadResource(module, image_resource)));
    const bool png =
        std::string(reinterpret_cast<const char*>(image), 4) == "\x89PNG";
    EXPECT_EQ(png, size == 256) << size;
    EXPECT_EQ(entries[i].bit_count, 32) << size;
  }

  // And Windows makes an icon of the PNG.
  auto* large = static_cast<HICON>(
      LoadImageW(module, MAKEINTRESOURCEW(kIdIcon), IMAGE_ICON, 256, 256, 0));
  ASSERT_NE(large, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(large, &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 256);
  EXPECT_EQ(bitmap.bmHeight, 256);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(large);
}

}  // namespace
}  // namespace zorvik::win32
