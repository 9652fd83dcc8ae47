#include "zrpar/CertParams.h"

namespace ZRCERTUTIL {

ZRSTD::CAutoPtr<ZRPAR::Params> Certificate2Params(std::string_view pem)
{
    const CertificateFields fields = DescribeCertificate(pem);
    auto params = ZRPAR::CreateParams();
    params->AddValue(L"CertSha1Thumbprint", ZRPAR::CreateValue(fields.sha1Thumbprint).Get());
    params->AddValue(L"CertSubject", ZRPAR::CreateValue(fields.subject).Get());
    if (!fields.subjectAltNames.empty())
        params->AddValue(L"CertSubjectAltNames", ZRPAR::CreateValue(fields.subjectAltNames).Get());
    return params;
}

}  // namespace ZRCERTUTIL
