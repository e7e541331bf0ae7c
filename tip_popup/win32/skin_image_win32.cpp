#include "tip_popup/win32/skin_image_win32.h"

#include "common/win32/wide.h"

std::shared_ptr<SkinImage> Win32SkinImageLoader::Load(const std::u16string& path) {
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(nullptr, WidePtr(path), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  if (!bitmap) return nullptr;
  BITMAP info{};
  if (!GetObjectW(bitmap.get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0) return nullptr;
  const long height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  return std::make_shared<Win32SkinImage>(std::move(bitmap), info.bmWidth, height);
}
