#pragma once
// Message boxes with code page 932 text, shown through MessageBoxW so that Japanese text is
// right on any display language.
#include <windows.h>

#include <string>

namespace tw {

// Returns the button pressed (IDOK, IDYES, …), 0 when the box cannot be shown.
int ShowMessage(HWND owner, const std::string& textCp932, const std::string& captionCp932,
                UINT type);

}  // namespace tw
