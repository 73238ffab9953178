#include "common/win/file_system.h"
#include "common/win/handle.h"
#include "res/resource.h"
#include "shell/dib.h"
#include "shell/splash_window.h"
#include "tests/support/bitmap_file.h"
#include "tests/windows/frame_fixture.h"

namespace {

// A 32-bit top-down drawing surface whose pixels the test reads back.
class Canvas {
public:
    Canvas(int w, int h) : w_(w) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < w * h; ++i) pixels_[i] = 0x00FFFFFF;
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    // 0xRRGGBB of a pixel.
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return pixels_[y * w_ + x] & 0xFFFFFF;
    }

private:
    int w_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    std::uint32_t* pixels_ = nullptr;
};

bool ReadPicture(CDib& dib, const std::string& path, std::size_t* taken = nullptr) {
    win::File file = win::File::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    const std::size_t n = dib.Read(file);
    if (taken) *taken = n;
    return n != 0;
}

TEST(Dib, TrueColourIsDrawnWithoutPaletteStraightAndStretched) {
    TempDir dir;
    testbmp::Layout layout;
    // Bottom row first: blue, green | top row: red, white (stored b, g, r).
    layout.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
    const std::string file = testbmp::File(layout);
    WriteFileBytes(dir / "rgb.bmp", file);
    CDib dib;
    std::size_t taken = 0;
    ASSERT_TRUE(ReadPicture(dib, dir / "rgb.bmp", &taken));
    EXPECT_EQ(taken, file.size());
    EXPECT_EQ(dib.Width(), 2);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.NumColors(), 0u);
    EXPECT_EQ(dib.palette(), nullptr);

    // Straight at the picture's size, stretched at twice it.
    const std::uint32_t expected[2][2] = {{0xFF0000u, 0xFFFFFFu}, {0x0000FFu, 0x00FF00u}};
    for (int scale : {1, 2}) {
        Canvas canvas(2 * scale, 2 * scale);
        ASSERT_TRUE(dib.Draw(canvas.dc(), {0, 0, 2 * scale, 2 * scale}, {0, 0, 2, 2}));
        for (int y = 0; y < 2 * scale; ++y)
            for (int x = 0; x < 2 * scale; ++x)
                EXPECT_EQ(canvas.At(x, y), expected[y / scale][x / scale]) << scale << ": " << x << "," << y;
    }

    // A source rectangle counts from the top of the picture.
    Canvas corner(1, 1);
    ASSERT_TRUE(dib.Draw(corner.dc(), {0, 0, 1, 1}, {1, 1, 2, 2}));
    EXPECT_EQ(corner.At(0, 0), 0x00FF00u);
}

TEST(Dib, TwoHundredFiftySixColoursAreDrawnWithTheirPalette) {
    TempDir dir;
    testbmp::Layout layout;
    layout.width = 16;
    layout.height = 16;
    layout.bitCount = 8;
    layout.table = testbmp::Table256();
    // Pixel (x, y) from the top has colour index 16 y + x.
    for (int row = 15; row >= 0; --row)
        for (int x = 0; x < 16; ++x) layout.pixels.push_back(static_cast<std::uint8_t>(row * 16 + x));
    WriteFileBytes(dir / "pal.bmp", testbmp::File(layout));
    CDib dib;
    ASSERT_TRUE(ReadPicture(dib, dir / "pal.bmp"));
    EXPECT_EQ(dib.NumColors(), 256u);
    ASSERT_NE(dib.palette(), nullptr);
    WORD entries = 0;
    GetObjectA(dib.palette(), sizeof entries, &entries);
    ASSERT_EQ(entries, 256);
    PALETTEENTRY e[256];
    ASSERT_EQ(GetPaletteEntries(dib.palette(), 0, 256, e), 256u);
    EXPECT_EQ(e[0].peRed, 0);
    EXPECT_EQ(e[0].peGreen, 255);
    EXPECT_EQ(e[200].peRed, 200);
    EXPECT_EQ(e[200].peGreen, 55);
    EXPECT_EQ(e[200].peBlue, 100);
    EXPECT_EQ(e[200].peFlags, 0);

    Canvas canvas(16, 16);
    ASSERT_TRUE(dib.Draw(canvas.dc(), {0, 0, 16, 16}, {0, 0, 16, 16}));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int i = y * 16 + x;
            const std::uint32_t expected = (static_cast<std::uint32_t>(i) << 16) | ((255u - i) << 8) | (i / 2u);
            ASSERT_EQ(canvas.At(x, y), expected) << x << "," << y;
        }
}

TEST(Dib, RefusesFilesWhosePixelOffsetLiesOutside) {
    TempDir dir;
    for (long long offset : {0LL, 10LL, 100000LL}) {
        testbmp::Layout layout;
        layout.pixels.assign(16, 9);
        layout.offset = offset;
        WriteFileBytes(dir / "bad.bmp", testbmp::File(layout));
        CDib dib;
        EXPECT_FALSE(ReadPicture(dib, dir / "bad.bmp")) << offset;
        EXPECT_FALSE(dib.readFailed());
        EXPECT_FALSE(dib.loaded());
        EXPECT_EQ(dib.Width(), 0);
        Canvas canvas(1, 1);
        EXPECT_FALSE(dib.Draw(canvas.dc(), {0, 0, 1, 1}, {0, 0, 1, 1}));
    }
}

// Main windows built with splashes allowed, as the program builds its own.
class SplashTest : public FrameTest {
protected:
    void SetUp() override {
        saved_ = ArchivonSettings().GetInt("Config", "DisplaySplash", 1);
        FrameTest::SetUp();
        SetSplashAllowed(true);
    }
    void TearDown() override {
        HideSplashScreen();
        SetSplashAllowed(false);
        ArchivonSettings().SetInt("Config", "DisplaySplash", saved_);
        FrameTest::TearDown();
    }
    int saved_ = 1;
};

// A frame that records the keys that reach it.
class KeyRecordingFrame : public CMainFrame {
public:
    int keys = 0;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_KEYDOWN || msg == WM_CHAR) ++keys;
        return CMainFrame::WndProc(msg, wp, lp);
    }
};

// The program's message loop, for a while.
void RunAppLoop(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (PreTranslateAppMessage(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TEST_F(SplashTest, DisplaySplashZeroNeverOpensThePicture) {
    // The picture beside the program, locked: opening it would be reported.
    win::File lock = win::File::Open(SplashPicturePath(), GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_TRUE(lock.valid()) << SplashPicturePath();
    MessageBoxRecorder boxes;
    ArchivonSettings().SetInt("Config", "DisplaySplash", 0);
    {
        CMainFrame quiet;
        ASSERT_TRUE(quiet.Create());
        EXPECT_EQ(SplashWindow(), nullptr);
        EXPECT_TRUE(boxes.boxes.empty());
    }
    ArchivonSettings().SetInt("Config", "DisplaySplash", 1);
    {
        CMainFrame shown;
        ASSERT_TRUE(shown.Create());
        EXPECT_EQ(SplashWindow(), nullptr);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "A sharing violation occurred while accessing " + SplashPicturePath() + ".");
    }
}

TEST_F(SplashTest, PicturesThatCannotBeShownAreReported) {
    MessageBoxRecorder boxes;
    ShowSplashScreen(*frame, dir / "missing.bmp");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, dir / "missing.bmp" + " was not found.");

    testbmp::Layout layout;
    layout.pixels.assign(16, 0);
    layout.offset = 2;
    WriteFileBytes(dir / "bad.bmp", testbmp::File(layout));
    ShowSplashScreen(*frame, dir / "bad.bmp");
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "Can not load splash picture!");
    EXPECT_EQ(boxes.boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(SplashWindow(), nullptr);

    // Not allowed by the command line: nothing is opened or said.
    SetSplashAllowed(false);
    ShowSplashScreen(*frame, dir / "missing.bmp");
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(SplashTest, ShowsCentredAndGoesByItself) {
    ArchivonSettings().SetInt("Config", "DisplaySplash", 1);
    CMainFrame main;
    ASSERT_TRUE(main.Create());
    HWND splash = SplashWindow();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_EQ(GetWindow(splash, GW_OWNER), main.hwnd());
    EXPECT_FALSE(GetWindowLongA(splash, GWL_STYLE) & (WS_CAPTION | WS_BORDER));
    RECT r;
    GetWindowRect(splash, &r);
    EXPECT_EQ(r.right - r.left, 480);
    EXPECT_EQ(r.bottom - r.top, 270);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 480) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 270) / 2);
    // A second request while it shows makes no second window.
    ShowSplashScreen(main);
    EXPECT_EQ(SplashWindow(), splash);
    EXPECT_TRUE(PumpUntil([] { return SplashWindow() == nullptr; }, 5000));
    EXPECT_FALSE(IsWindow(splash));
}

TEST_F(SplashTest, AKeyPressClosesTheSplashAndNeverReachesTheMainWindow) {
    ArchivonSettings().SetInt("Config", "DisplaySplash", 1);
    KeyRecordingFrame main;
    ASSERT_TRUE(main.Create());
    ASSERT_NE(SplashWindow(), nullptr);
    PostMessageA(main, WM_KEYDOWN, 'A', 1);
    RunAppLoop(100);
    EXPECT_EQ(SplashWindow(), nullptr);
    EXPECT_EQ(main.keys, 0);
    // With the splash gone, keys reach the window again.
    PostMessageA(main, WM_KEYDOWN, 'A', 1);
    RunAppLoop(50);
    EXPECT_GT(main.keys, 0);
}

}  // namespace
