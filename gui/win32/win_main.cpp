// Tarnwell's entry point: the real platform, the main window and the hidden
// secondary windows, then the message loop until the main window closes.
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/tform1.h"
#include "gui/win32/about_box.h"
#include "gui/win32/bench_mark/bench_mark_window.h"
#include "gui/win32/check_disk/check_disk_window.h"
#include "gui/win32/command_line.h"
#include "gui/win32/disk_info/disk_info_window.h"
#include "gui/win32/dpi.h"
#include "gui/win32/form_window.h"
#include "gui/win32/main_window.h"
#include "gui/win32/message_dialogs.h"
#include "gui/win32/message_pump.h"
#include "gui/win32/optical_info/optical_info_window.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/smart/smart_window.h"
#include "gui/win32/startup_trace.h"
#include "gui/win32/subst_dialog/subst_dialog_window.h"
#include "gui/win32/usb_drives/usb_drives_window.h"
#include "gui/win32/volumes/volumes_window.h"
#include "gui/win32/win_headers.h"
#include "platform/real_platform.h"

namespace {

HICON LoadAppIcon(HINSTANCE instance, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TARNWELL), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
}

// The secondary windows after the about box, in the order they are created.
constexpr tw::FormId kHiddenForms[] = {
    tw::FormId::SubstDialog, tw::FormId::Settings,  tw::FormId::Form5,     tw::FormId::Form6,
    tw::FormId::Volumes,     tw::FormId::BenchMark, tw::FormId::CheckDisk, tw::FormId::OpticalInfo,
    tw::FormId::Smart,       tw::FormId::DiskInfo,  tw::FormId::UsbDrives,
};

int Run(HINSTANCE instance, int showCommand) {
    tw::gui::StartupTrace trace;
    trace.Mark("WinMain entered");
    tw::gui::EnableDpiAwareness();
    trace.Mark("DPI awareness");
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    trace.Mark("common controls");

    tw::Application app;
    app.args = tw::gui::CommandLineArguments();
    std::unique_ptr<tw::platform::Platform> platform = tw::platform::MakeRealPlatform();
    if (!platform) {
        MessageBoxA(nullptr, "This system offers no drive services.", tw::gui::kProgramName, MB_ICONERROR | MB_OK);
        return 1;
    }
    trace.Mark("platform");

    HICON icon = LoadAppIcon(instance, SM_CXICON, SM_CYICON);
    HICON smallIcon = LoadAppIcon(instance, SM_CXSMICON, SM_CYSMICON);
    tw::gui::MainWindow view(icon, smallIcon);
    tw::gui::MessageDialogs dialogs([&view] { return view.hwnd(); });
    tw::TForm1 form(*platform, view, dialogs, app);
    tw::gui::Window::SetErrorDisplay([&dialogs](const std::string& text) { dialogs.ShowError(text); });
    struct ForgetDisplay {
        ~ForgetDisplay() { tw::gui::Window::SetErrorDisplay(nullptr); }
    } forgetDisplay;
    trace.Mark("icons");
    if (!view.Create(form)) return 1;
    trace.Mark("main window");
    form.FormCreate();
    trace.Mark("FormCreate");

    const UINT dpi = tw::gui::DpiOf(view.hwnd());
    tw::gui::AboutBox about;
    about.CreateHidden(view.hwnd(), icon, 360, 250, dpi);
    dialogs.RegisterModal(tw::FormId::AboutBox, [&about](tw::FormLogic&) {
        about.ShowModal();
        return tw::ModalResult::OK;
    });
    trace.Mark("TAboutBox");
    tw::gui::SubstDialogWindow subst;
    tw::gui::OpticalInfoWindow optical;
    tw::gui::SmartWindow smart;
    tw::gui::DiskInfoWindow diskInfo;
    tw::gui::CheckDiskWindow checkDisk;
    tw::gui::BenchMarkWindow benchMark;
    tw::gui::UsbDrivesWindow usbDrives;
    tw::gui::VolumesWindow volumes;
    // The windows beside the main window, by the form they show.
    auto besideMain = [&](tw::FormId id) -> tw::gui::FormDialog* {
        switch (id) {
            case tw::FormId::OpticalInfo: return &optical;
            case tw::FormId::Smart: return &smart;
            case tw::FormId::DiskInfo: return &diskInfo;
            case tw::FormId::CheckDisk: return &checkDisk;
            case tw::FormId::BenchMark: return &benchMark;
            case tw::FormId::UsbDrives: return &usbDrives;
            case tw::FormId::Volumes: return &volumes;
            default: return nullptr;
        }
    };
    std::vector<std::unique_ptr<tw::gui::FormWindow>> others;
    for (const tw::FormId id : kHiddenForms) {
        if (id == tw::FormId::SubstDialog) {
            subst.CreateHidden(view.hwnd());
            dialogs.RegisterModal(id, [&subst](tw::FormLogic& logic) { return subst.Run(logic); });
        } else if (tw::gui::FormDialog* window = besideMain(id)) {
            window->CreateHidden(view.hwnd());
            dialogs.RegisterModeless(id, window->hwnd(), [window](tw::FormLogic& logic) { window->Show(logic); });
        } else {
            others.push_back(std::make_unique<tw::gui::FormWindow>(std::string(tw::FormClassName(id)),
                                                                   std::string(tw::FormCaption(id))));
            others.back()->CreateHidden(view.hwnd(), icon, 480, 360, dpi);
        }
        trace.Mark(tw::FormClassName(id));
    }
    // A window the logic can show but none was made for fails here, not at
    // the user's click.
    dialogs.RequireWindows(form.SecondaryForms());

    const tw::gui::MessagePump pump(&view, &dialogs);
    view.SetPump(&pump);
    dialogs.SetPump(&pump);
    view.Show(showCommand);
    // The activation's refresh may run inside the showing or after it.
    if constexpr (tw::gui::StartupTrace::kEnabled) {
        const HWND list = FindWindowExA(view.hwnd(), nullptr, WC_LISTVIEWA, nullptr);
        trace.Mark(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0 ? "shown, listed" : "shown, list empty");
    }
    const int exitCode = pump.Run();
    view.SetPump(nullptr);
    dialogs.SetPump(nullptr);
    return exitCode;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    tw::platform::RestrictLibrarySearch();
    try {
        return Run(instance, showCommand);
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), tw::gui::kProgramName, MB_ICONERROR | MB_OK);
    } catch (...) {
        MessageBoxA(nullptr, "The program met an error it did not expect and has to close.", tw::gui::kProgramName,
                    MB_ICONERROR | MB_OK);
    }
    return 1;
}
