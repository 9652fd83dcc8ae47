#include "zrstd/TransportAddress.h"

#include <gtest/gtest.h>

#include "zrstd/Error.h"
#include "zrstd/Strings.h"

using ZRTR::IsValidHost;
using ZRTR::ZRTR_SplitAddress;

TEST(TransportAddress, SplitsHostAndPorts)
{
    const struct {
        const wchar_t* address;
        const wchar_t* host;
        std::vector<std::uint16_t> ports;
    } cases[] = {
        {L"adm.corp", L"adm.corp", {}},
        {L"adm.corp:14000", L"adm.corp", {14000}},
        {L"10.0.0.1:14000,14001", L"10.0.0.1", {14000, 14001}},
        {L"[fe80::1]:13000", L"fe80::1", {13000}},
        {L"fe80::1", L"fe80::1", {}},
    };
    for (const auto& entry : cases) {
        const auto split = ZRTR_SplitAddress(entry.address);
        EXPECT_EQ(split.host, entry.host);
        EXPECT_EQ(split.ports, entry.ports);
    }
}

TEST(TransportAddress, MalformedAddressesRaiseAnError)
{
    for (const wchar_t* address : {L"", L":14000", L"adm.corp:", L"adm.corp:0", L"adm.corp:65536", L"adm.corp:1x",
                                   L"adm.corp:14000,", L"[::1", L"[::1]x", L"[]:1", L"adm.corp:123456789012"}) {
        EXPECT_THROW(ZRTR_SplitAddress(address), ZRERR::Error) << ZRSTD::ToUtf8(address);
    }
}

TEST(TransportAddress, HostsAreAddressesOrDnsNames)
{
    const struct {
        const wchar_t* host;
        bool valid;
    } cases[] = {
        {L"adm.corp", true},     {L"adm-1.corp.", true}, {L"10.0.0.1", true},  {L"::1", true},
        {L"300.1.1.1", false},   {L"-adm.corp", false},  {L"adm..corp", false}, {L"adm corp", false},
        {L"адм.corp", false},    {L"", false},           {L"a/b", false},
    };
    for (const auto& entry : cases) EXPECT_EQ(IsValidHost(entry.host), entry.valid) << ZRSTD::ToUtf8(entry.host);
}
