#include "removal/BannerBitmap.h"

#include <algorithm>

// ---- CBannerBitmap

CBannerBitmap::~CBannerBitmap() { Release(); }

void CBannerBitmap::Release() {
  if (m_bitmap && m_bOwned) DeleteObject(m_bitmap);
  m_bitmap = nullptr;
  m_bOwned = false;
}

int CBannerBitmap::LoadFromFile(const std::string& path) {
  HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!image) return 0;
  // The picture held before is deleted, so reloading leaks nothing.
  Release();
  m_bitmap = static_cast<HBITMAP>(image);
  m_bOwned = true;
  m_nResourceId = 0;
  return 1;
}

int CBannerBitmap::LoadFromResource(int id) {
  Release();
  m_bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  m_bOwned = m_bitmap != nullptr;
  m_nResourceId = id;
  return m_bitmap != nullptr ? 1 : 0;
}

void CBannerBitmap::Borrow(HBITMAP bitmap) {
  Release();
  m_bitmap = bitmap;
  m_bOwned = false;
}

bool CBannerBitmap::GetSize(SIZE& size) const {
  BITMAP info;
  if (!m_bitmap || !GetObjectA(m_bitmap, sizeof(info), &info)) return false;
  size.cx = info.bmWidth;
  size.cy = info.bmHeight;
  return true;
}

// ---- CBannerStatic

bool CBannerStatic::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(GetHwnd(), &paint);
  if (m_picture.m_nResourceId == 0 && !m_picture.m_bitmap) {
    HANDLE own = reinterpret_cast<HANDLE>(SendMessageA(GetHwnd(), STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (own) m_picture.Borrow(static_cast<HBITMAP>(own));
  }
  if (m_bTransparent) {
    SIZE size;
    if (m_picture.GetSize(size)) DrawTransparent(dc, 0, 0, size.cx, size.cy);
  } else {
    DrawOpaque(dc);
  }
  EndPaint(GetHwnd(), &paint);
  return true;
}

void CBannerStatic::DrawOpaque(HDC dc) {
  SIZE size;
  if (!m_picture.GetSize(size)) return;
  RECT window = {0, 0, 0, 0};
  GetWindowRect(WindowFromDC(dc), &window);
  // A larger picture is cut at the right and bottom; a smaller one leaves
  // the rest of the control as it was.
  int width = std::min<int>(window.right - window.left, size.cx);
  int height = std::min<int>(window.bottom - window.top, size.cy);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, m_picture.m_bitmap);
  BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void CBannerStatic::DrawTransparent(HDC dc, int x, int y, int width, int height) {
  COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  HDC picture = CreateCompatibleDC(dc);
  HDC mask = CreateCompatibleDC(dc);
  HGDIOBJ oldPicture = SelectObject(picture, m_picture.m_bitmap);
  HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, nullptr);
  HGDIOBJ oldMask = SelectObject(mask, maskBitmap);

  // White in the mask where the picture has the transparent colour.
  SetBkColor(picture, m_crTransparent);
  BitBlt(mask, 0, 0, width, height, picture, 0, 0, SRCCOPY);

  // Where the mask is white the two inversions cancel out; elsewhere the
  // mask clears the background first, so the picture shows.
  BitBlt(dc, x, y, width, height, picture, 0, 0, SRCINVERT);
  BitBlt(dc, x, y, width, height, mask, 0, 0, SRCAND);
  BitBlt(dc, x, y, width, height, picture, 0, 0, SRCINVERT);

  SelectObject(mask, oldMask);
  SelectObject(picture, oldPicture);
  DeleteObject(maskBitmap);
  DeleteDC(mask);
  DeleteDC(picture);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}
