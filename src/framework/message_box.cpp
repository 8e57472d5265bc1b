#include "framework/message_box.h"

#include "framework/text.h"

namespace tw {

int ShowMessage(HWND owner, const std::string& textCp932, const std::string& captionCp932,
                UINT type) {
  return MessageBoxW(owner, ToWide(textCp932).c_str(), ToWide(captionCp932).c_str(), type);
}

}  // namespace tw
