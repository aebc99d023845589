// Banner pictures: loading from files and resources, and what the picture
// control paints on the real dialogs, opaquely and transparently.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/UninstallApp.h"
#include "removal/BannerBitmap.h"
#include "removal/FinishDialog.h"
#include "removal/WaitingDialogs.h"
#include "resources/resource.h"
#include "tests/win32/DialogTestSupport.h"
#include "tests/win32/TempFolder.h"

namespace {

constexpr int kTestBitmap = 900;  // 8 x 4, in the test program's resources
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);

bool IsLiveBitmap(HBITMAP bitmap) { return GetObjectType(bitmap) == OBJ_BITMAP; }

SIZE SizeOf(const CBannerBitmap& picture) {
  SIZE size = {0, 0};
  picture.GetSize(size);
  return size;
}

class BannerTest : public ::testing::Test {
 protected:
  CUninstallApp m_app;
  CTempFolder m_folder{"banner"};

  std::string Path(const char* name) const { return m_folder.Path() + "\\" + name; }
};

struct CFileCase {
  const char* name;
  int width;           // a bitmap file of this size, 0: none written
  const char* content; // otherwise this text, if given
  int result;
};

TEST_F(BannerTest, LoadFromFileTakesABitmapOrKeepsThePictureHeld) {
  const CFileCase cases[] = {
      {"bitmap file", 30, nullptr, 1},
      {"missing file", 0, nullptr, 0},
      {"not a bitmap", 0, "just some text, not a picture", 0},
  };
  for (const CFileCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = Path("banner.bmp");
    DeleteFileA(path.c_str());
    if (c.width) WriteSolidBitmapFile(path, c.width, 20, kRed);
    if (c.content) m_folder.WriteFile("banner.bmp", c.content);

    CBannerBitmap picture;
    ASSERT_EQ(picture.LoadFromResource(kTestBitmap), 1);
    HBITMAP before = picture.m_bitmap;

    EXPECT_EQ(picture.LoadFromFile(path), c.result);
    if (c.result) {
      EXPECT_NE(picture.m_bitmap, before);
      EXPECT_EQ(SizeOf(picture).cx, c.width);
      EXPECT_EQ(SizeOf(picture).cy, 20);
      EXPECT_EQ(picture.m_nResourceId, 0);
      EXPECT_FALSE(IsLiveBitmap(before)) << "the picture replaced is deleted";
    } else {
      EXPECT_EQ(picture.m_bitmap, before);
      EXPECT_EQ(picture.m_nResourceId, kTestBitmap);
      EXPECT_TRUE(IsLiveBitmap(before));
    }
  }
}

TEST_F(BannerTest, LoadFromResourceReplacesThePictureEvenWhenTheResourceIsMissing) {
  std::string path = Path("file.bmp");
  WriteSolidBitmapFile(path, 12, 12, kRed);
  for (int id : {kTestBitmap, IDB_LEFT_BANNER, IDB_TOP_BANNER}) {
    SCOPED_TRACE(id);
    CBannerBitmap picture;
    ASSERT_EQ(picture.LoadFromFile(path), 1);
    HBITMAP fromFile = picture.m_bitmap;
    bool exists = id == kTestBitmap;

    EXPECT_EQ(picture.LoadFromResource(id), exists ? 1 : 0);
    EXPECT_EQ(picture.m_nResourceId, id);
    EXPECT_FALSE(IsLiveBitmap(fromFile));
    EXPECT_EQ(picture.m_bitmap != nullptr, exists);
    if (exists) {
      EXPECT_EQ(SizeOf(picture).cx, 8);
      EXPECT_EQ(SizeOf(picture).cy, 4);
    }
  }
}

TEST_F(BannerTest, DestroyingThePictureDeletesItsBitmap) {
  HBITMAP bitmap = nullptr;
  {
    CBannerBitmap picture;
    ASSERT_EQ(picture.LoadFromResource(kTestBitmap), 1);
    bitmap = picture.m_bitmap;
    EXPECT_TRUE(IsLiveBitmap(bitmap));
  }
  EXPECT_FALSE(IsLiveBitmap(bitmap));
}

// The waiting window with banner, shown modeless with the given top banner.
class CShownBannerWindow {
 public:
  explicit CShownBannerWindow(CInstallInfo* info) {
    m_dialog.m_pInfo = info;
    m_bCreated = m_dialog.CreateModeless();
    if (!m_bCreated) return;
    ShowWindow(m_dialog.GetHwnd(), SW_SHOW);
    RedrawWindow(m_dialog.GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DrainMessages();
  }
  ~CShownBannerWindow() { m_dialog.DestroyWindow(); }

  bool Created() const { return m_bCreated; }
  HWND Banner() const { return m_dialog.GetItem(IDC_TOP_BANNER); }
  CBannerWaitingDlg m_dialog;

 private:
  bool m_bCreated = false;
};

TEST_F(BannerTest, BannerAreaKeepsItsTemplateSizeWithoutItsBitmapResource) {
  CShownBannerWindow window(&m_app.m_info);
  ASSERT_TRUE(window.Created());
  RECT expected = {0, 0, 334, 35};
  MapDialogRect(window.m_dialog.GetHwnd(), &expected);
  RECT banner;
  GetClientRect(window.Banner(), &banner);
  EXPECT_EQ(banner.right, expected.right);
  EXPECT_EQ(banner.bottom, expected.bottom);
  EXPECT_EQ(window.m_dialog.m_banner.m_picture.m_bitmap, nullptr);
}

TEST_F(BannerTest, WiderPictureShowsItsLeftPartUnscaled) {
  // Each pixel tells where it came from.
  auto colour = [](int x, int y) { return RGB(x % 251, y % 251, 77); };
  m_app.m_strTopBarPath = Path("TopBar.bmp");
  WriteBitmapFile(m_app.m_strTopBarPath, 1200, 90, colour);
  CShownBannerWindow window(&m_app.m_info);
  ASSERT_TRUE(window.Created());
  RECT client;
  GetClientRect(window.m_dialog.GetHwnd(), &client);
  RECT banner;
  GetClientRect(window.Banner(), &banner);
  int right = std::min(client.right, banner.right) - 1;
  int bottom = banner.bottom - 1;
  const POINT points[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}, {right / 2, bottom / 2}};
  for (POINT p : points) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(PixelAt(window.Banner(), p.x, p.y), colour(p.x, p.y));
  }
}

TEST_F(BannerTest, NarrowerPictureLeavesTheRestAsTheDialogPaintedIt) {
  m_app.m_strTopBarPath = Path("TopBar.bmp");
  WriteSolidBitmapFile(m_app.m_strTopBarPath, 20, 10, kRed);
  CShownBannerWindow window(&m_app.m_info);
  ASSERT_TRUE(window.Created());
  COLORREF face = GetSysColor(COLOR_3DFACE);
  ASSERT_NE(face, kRed);
  EXPECT_EQ(PixelAt(window.Banner(), 0, 0), kRed);
  EXPECT_EQ(PixelAt(window.Banner(), 19, 9), kRed);
  EXPECT_EQ(PixelAt(window.Banner(), 20, 5), face);
  EXPECT_EQ(PixelAt(window.Banner(), 5, 10), face);
  EXPECT_EQ(PixelAt(window.Banner(), 100, 20), face);
}

TEST_F(BannerTest, PictureHeldByTheControlItselfIsDrawnButNotDeleted) {
  CShownBannerWindow window(&m_app.m_info);
  ASSERT_TRUE(window.Created());
  std::string path = Path("own.bmp");
  WriteSolidBitmapFile(path, 16, 16, kBlue);
  HBITMAP own = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(own, nullptr);
  SendMessageA(window.Banner(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(own));
  InvalidateRect(window.Banner(), nullptr, TRUE);
  UpdateWindow(window.Banner());
  EXPECT_EQ(window.m_dialog.m_banner.m_picture.m_bitmap, own);
  EXPECT_EQ(PixelAt(window.Banner(), 3, 3), kBlue);
  window.m_dialog.DestroyWindow();
  window.m_dialog.m_banner.m_picture.LoadFromResource(IDB_TOP_BANNER);
  EXPECT_TRUE(IsLiveBitmap(own)) << "the control's own picture belongs to the control";
  DeleteObject(own);
}

struct CTransparencyCase {
  const char* name;
  int transparent;
  COLORREF inside;  // where the picture is silver
};

TEST_F(BannerTest, TransparentDrawingLetsTheWhitePageShowWhereThePictureIsSilver) {
  const CTransparencyCase cases[] = {
      {"opaque", 0, kSilver},
      {"transparent", 1, kWhite},
  };
  m_app.m_strLeftBarPath = Path("LeftBar.bmp");
  WriteBitmapFile(m_app.m_strLeftBarPath, 60, 60, [](int x, int y) {
    return x >= 20 && x < 40 && y >= 20 && y < 40 ? kSilver : kBlue;
  });
  for (const CTransparencyCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSdUnInstallFinishDlg page;
    page.m_pInfo = &m_app.m_info;
    page.m_banner.m_bTransparent = c.transparent;
    COLORREF inside = 0, outside = 0, beyond = 0;
    INT_PTR result = RunModal(page, [&](CDialogBase& dialog) {
      HWND banner = dialog.GetItem(IDC_LEFT_BANNER);
      inside = PixelAt(banner, 30, 30);
      outside = PixelAt(banner, 5, 5);
      beyond = PixelAt(banner, 70, 70);
      ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(inside, c.inside);
    EXPECT_EQ(outside, kBlue);
    EXPECT_EQ(beyond, kWhite);
  }
}

}  // namespace
