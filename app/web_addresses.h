// The maker's web pages, in one place.
#pragma once

namespace tw {

// The site address shown at the top and bottom of the main window.
inline constexpr const char* kSiteAddress = "https://tarnwell.example/";
inline constexpr const char* kHomePageAddress = "https://tarnwell.example/tarnwell/";
inline constexpr const char* kDonatePageAddress = "https://tarnwell.example/donate/";

}  // namespace tw
