#include "platform/SystemMessageBox.h"

#include "platform/MessageBox.h"

namespace platform {

void ShowSystemMessageBox(const std::string& text) { WriteMessageLine(text); }

}  // namespace platform
