// Not a check: `make screenshots` runs this disabled case, which opens the
// program's windows one after another and holds each still while
// scripts/screenshots.sh captures the screen.
//
// Hand-shake in the folder PW_SHOT_DIR: for each window this writes NAME.bmp
// (the window as the screen shows it), then NAME.ready ("x y width height" of
// the window on screen) and waits for the script's NAME.done; a window that
// does not open is reported as NAME.skip. The picture is taken here because
// Wine under Xvfb leaves owned modal dialogs black in an X capture of the
// root window, while its own screen device context shows them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <utility>
#include <string>
#include <vector>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

class Camera {
public:
    Camera() {
        const char* dir = std::getenv("PW_SHOT_DIR");
        dir_ = dir != nullptr ? dir : "";
    }
    bool Ready() const { return !dir_.empty(); }

    void Shoot(const std::string& name, HWND window) {
        if (window == nullptr) {
            std::ofstream(File(name + ".skip")) << "not opened\n";
            return;
        }
        Sleep(400);  // let it paint
        RECT rect{};
        GetWindowRect(window, &rect);
        SaveBitmap(File(name + ".bmp"), rect);
        const std::string partial = File(name + ".part");
        std::ofstream(partial) << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left << ' '
                               << rect.bottom - rect.top << '\n';
        MoveFileA(partial.c_str(), File(name + ".ready").c_str());
        const std::string done = File(name + ".done");
        WaitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000);
    }

private:
    // The screen rectangle as a 24-bit bottom-up BMP file.
    static void SaveBitmap(const std::string& path, const RECT& rect) {
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        SelectObject(memory, previous);
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        const int stride = (width * 3 + 3) / 4 * 4;
        std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
        GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info), sizeof info);
        out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    }

    std::string File(const std::string& name) const { return dir_ + "\\" + name; }
    std::string dir_;
};

void PressF1() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

void Quit(App& app, HWND form) {
    if (form != nullptr) SendCommand(form, IDC_EXIT);
    app.WaitExit(5000);
}

// The designer with a task dialog that uses most of what it offers, and that
// task dialog's preview.
void ShootTaskDialog(App& app, HWND form, Camera& camera) {
    Command(form, IDM_TASKDIALOG);
    HWND designer = app.WaitWindow("Promptwright - Task dialog", 5000);
    if (designer == nullptr) {
        camera.Shoot("taskdialog", nullptr);
        return;
    }
    SetText(designer, IDC_TD_TITLE, "Editor");
    SetText(designer, IDC_TD_MAININSTR, "Save changes to report.txt?");
    SetText(designer, IDC_TD_CONTENT, "Your changes will be lost if you close without saving.");
    ChooseListPosition(designer, IDC_TD_MAINICON, 1);
    const std::pair<const char*, const char*> buttons[] = {
        {"IDC_SAVE", "&Save"}, {"IDC_DISCARD", "Do&n't save"}, {"IDCANCEL", "Cancel"}};
    for (const auto& [id, text] : buttons) {
        SendCommand(designer, IDC_TD_BUTTONADD);
        SetText(designer, IDC_TD_BUTTONID, id);
        SetText(designer, IDC_TD_BUTTONTEXT, text);
    }
    SetText(designer, IDC_TD_DEFBUTTON, "IDC_SAVE");
    SetText(designer, IDC_TD_VERIFY, "Always save without asking");
    SetText(designer, IDC_TD_FOOTER, "The file was changed 5 minutes ago.");
    ChooseListPosition(designer, IDC_TD_FOOTERICON, 3);
    Click(designer, IDC_TD_CANCELLATION);
    Click(designer, IDC_TD_RELATIVE);
    SendCommand(designer, IDC_TD_GENERATE);
    camera.Shoot("taskdialog", designer);
    Command(designer, IDC_TD_PREVIEW);
    HWND preview = app.WaitWindow("Editor", 5000);
    camera.Shoot("taskdialog-preview", preview);
    if (preview != nullptr) {
        SendMessageW(preview, WM_COMMAND, IDCANCEL, 0);
        WaitGone(preview);
    }
    Close(designer);
    WaitGone(designer);
}

TEST(Screenshots, DISABLED_Windows) {
    Camera camera;
    ASSERT_TRUE(camera.Ready()) << "PW_SHOT_DIR is not set";
    // The program is DPI aware: window rectangles and pixels as they are on
    // the screen, not scaled for an unaware reader.
    SetProcessDPIAware();
    TempDir dir;
    dir.Write("source.c", "int main(void) { /*MB*/ return 0; }\n");
    {
        App app(dir, {});
        HWND form = app.MainForm();
        camera.Shoot("main-simple", form);
        Quit(app, form);
    }
    {
        App app(dir, {}, "[Settings]\r\nadvanced=1\r\n");
        HWND form = app.MainForm();
        if (form != nullptr) {
            // Text outside the code page, as the wide statement carries it.
            SetText(form, IDC_TITLE, "Gr\xC3\xBC\xC3\x9F" "e");
            SetText(form, IDC_TEXT, "\xE2\x9C\x93 Saved \xE2\x86\x92 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
            SendCommand(form, IDM_CHARSET_WIDE);
            SendCommand(form, IDC_GENERATE);
        }
        camera.Shoot("main-advanced", form);
        if (form != nullptr) {
            Click(form, IDC_TYPE_INDIRECT);
            Command(form, IDC_GENERATE);
            HWND params = app.WaitWindow("MessageBoxIndirect", 5000);
            camera.Shoot("params", params);
            if (params != nullptr) Close(params);
            ShootTaskDialog(app, form, camera);
        }
        Quit(app, form);
    }
    {
        App app(dir, {"source.c"}, "[Settings]\r\nadvanced=0\r\n");
        HWND form = app.MainForm();
        if (form != nullptr) ChooseListPosition(form, IDC_ICON, 4);
        camera.Shoot("main-warning", form);
        if (form != nullptr) {
            // The own help: a control's note, then the help window.
            SendMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(form, IDC_TITLE)), TRUE);
            PressF1();
            HWND note = nullptr;
            WaitFor([&] { return (note = FindWindowA("PromptwrightHelpNote", nullptr)) != nullptr; });
            camera.Shoot("help-note", note != nullptr ? form : nullptr);
            if (note != nullptr) PressKey(note, VK_ESCAPE);
            Command(form, IDM_HELP);
            HWND help = app.WaitWindow("Promptwright Help", 5000);
            camera.Shoot("help", help);
            if (help != nullptr) Close(help);
            Command(form, IDM_ABOUT);
            HWND about = app.WaitWindow("about", 5000);
            camera.Shoot("about", about);
            if (about != nullptr) {
                Command(about, IDC_OK);
                WaitGone(about);
            }
        }
        Quit(app, form);
    }
    {
        App app(dir, {"-QI"});
        HWND quickInsert = app.WaitWindow("Promptwright - QuickInsert", 5000);
        camera.Shoot("quickinsert", quickInsert);
        if (quickInsert != nullptr) Close(quickInsert);
        app.WaitExit(5000);
    }
}

}  // namespace
}  // namespace e2e
