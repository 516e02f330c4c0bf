// Version information of the program. The macros are kept so that a Windows
// resource script can include this file for its VERSIONINFO block (the resource
// compiler defines RC_INVOKED and understands only the preprocessor); C++ code
// uses the typed constants below.
#pragma once

#define QV_VERSION_MAJOR 1
#define QV_VERSION_MINOR 0
#define QV_VERSION_BUILD 2
#define QV_VERSION_REVISION 0
#define QV_VERSION_STRING "1.0.2.0"
#define QV_COMPANY_NAME "Quorvex"
#define QV_PRODUCT_NAME "QuorvexDemo"
#define QV_FILE_DESCRIPTION "Quorvex tuner card demo"
#define QV_INTERNAL_NAME "QuorvexDemo"
#define QV_ORIGINAL_FILENAME "QuorvexDemo.exe"
#define QV_LEGAL_COPYRIGHT "Copyright (C) Quorvex"

#ifndef RC_INVOKED

#include <string_view>

namespace res {

// File and product version are the same.
inline constexpr int kVersionMajor = QV_VERSION_MAJOR;
inline constexpr int kVersionMinor = QV_VERSION_MINOR;
inline constexpr int kVersionBuild = QV_VERSION_BUILD;
inline constexpr int kVersionRevision = QV_VERSION_REVISION;
inline constexpr std::string_view kFileVersion = QV_VERSION_STRING;
inline constexpr std::string_view kProductVersion = QV_VERSION_STRING;

inline constexpr std::string_view kCompanyName = QV_COMPANY_NAME;
inline constexpr std::string_view kProductName = QV_PRODUCT_NAME;
inline constexpr std::string_view kFileDescription = QV_FILE_DESCRIPTION;
inline constexpr std::string_view kInternalName = QV_INTERNAL_NAME;
inline constexpr std::string_view kOriginalFilename = QV_ORIGINAL_FILENAME;
inline constexpr std::string_view kLegalCopyright = QV_LEGAL_COPYRIGHT;

}  // namespace res

#endif  // RC_INVOKED
