#pragma once

#include "ui/Win32.h"

// Strings the installation package pages share.
namespace installerres {

inline constexpr UINT kPackageNotChanged = 2029;     // a failed apply of a package's settings
inline constexpr UINT kConnectionNotChanged = 2482;  // the same on a boot server's connection page

// texts of this build (the ids from 9200 are the package pages')
inline constexpr UINT kUnreadableCertificateFile = 9200;  // "%s": the file
inline constexpr UINT kNoCertificateInFile = 9201;        // "%s": the file
inline constexpr UINT kUnreadableStoredCertificate = 9202;
inline constexpr UINT kGatewayText = 9203, kConnectThroughGatewayText = 9204, kGatewayAddressText = 9205,
                      kVdiText = 9206, kVmOptimizeText = 9207;

}  // namespace installerres
