#pragma once

#include <string_view>

#include "zrpar/Params.h"
#include "zrstd/CertUtil.h"

// The certificate utility's description as a container, the form the pages
// read: "CertSha1Thumbprint", "CertSubject" and "CertSubjectAltNames" (strings;
// the last is absent when the certificate names no alternative subject).
// It lives with the container because it makes one; the reading of the
// certificate is ZRCERTUTIL's in zrstd.
namespace ZRCERTUTIL {

// The first certificate of PEM text; raises what DescribeCertificate raises.
ZR_API ZRSTD::CAutoPtr<ZRPAR::Params> Certificate2Params(std::string_view pem);

}  // namespace ZRCERTUTIL
