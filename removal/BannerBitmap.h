// Banner pictures: the holder of one bitmap, and the picture control of the
// dialogs that paints it, opaquely or with one colour left transparent.
#pragma once

#include <windows.h>

#include <string>

#include "removal/DialogBase.h"

class CBannerBitmap {
 public:
  CBannerBitmap() = default;
  virtual ~CBannerBitmap();
  CBannerBitmap(const CBannerBitmap&) = delete;
  CBannerBitmap& operator=(const CBannerBitmap&) = delete;

  // Loads a bitmap file; 1 when loaded, 0 when not (the picture held stays).
  int LoadFromFile(const std::string& path);
  // Replaces the picture by bitmap resource id of the program, or by none
  // when the program lacks it; returns whether a bitmap was attached.
  int LoadFromResource(int id);
  // Draws a bitmap that someone else owns (a control's template picture);
  // it is never deleted here.
  void Borrow(HBITMAP bitmap);
  // The bitmap's own width and height; false without a bitmap.
  bool GetSize(SIZE& size) const;

  HBITMAP m_bitmap = nullptr;
  int m_nResourceId = 0;

 private:
  void Release();

  bool m_bOwned = false;
};

class CBannerStatic : public CSubclassedControl {
 public:
  CBannerBitmap m_picture;
  COLORREF m_crTransparent = RGB(192, 192, 192);
  // Banners are whole pictures that fill their area: drawn opaquely unless
  // a dialog asks for a transparent colour.
  int m_bTransparent = 0;

 protected:
  bool OnPaint() override;

 private:
  void DrawOpaque(HDC dc);
  void DrawTransparent(HDC dc, int x, int y, int width, int height);
};
