#include "platform/SystemMessageBox.h"

#include <windows.h>

#include "platform/TextConversion.h"

namespace platform {

namespace {
const wchar_t* const kCaption = L"dr_mvq4";
}

void ShowSystemMessageBox(const std::string& text) {
    // Without an active window the box is modal to all of the thread's windows.
    const HWND owner = GetActiveWindow();
    const UINT style = MB_OK | MB_ICONEXCLAMATION | (owner == nullptr ? MB_TASKMODAL : 0);
    MessageBoxW(owner, Utf8ToWide(text).c_str(), kCaption, style);
}

}  // namespace platform
