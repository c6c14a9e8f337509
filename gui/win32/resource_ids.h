// Resource ids shared by the resource script and the code.
#pragma once

#define IDI_TARNWELL 1
#define IDR_ABOUT_PICTURE 2
#define IDR_OPTICAL_PICTURE 3
