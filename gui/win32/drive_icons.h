// The drive list's small images, drawn at run time for the list's DPI:
// local 0, network 1, optical 2, removable 3, disconnected network 5.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

// An image list of square images of the given size; the caller destroys it.
HIMAGELIST CreateDriveImageList(int size);

}  // namespace tw::gui
