#include "controls/ArrayReferenceSupport.h"

#include <gtest/gtest.h>

#include "nhpp/ParamsProviderTask.h"

using ZRSTD::CAutoPtr;

namespace {

CAutoPtr<NHPP::CParams> Provider()
{
    NHPP::CParams* raw = nullptr;
    EXPECT_EQ(NHPP::CreateParams(&raw), NHPP::kOk);
    return CAutoPtr<NHPP::CParams>::Adopt(raw);
}

// Appends a container {name, address} to an array of the provider.
void Add(NHPP::CParams* provider, const wchar_t* array, const wchar_t* name, const wchar_t* address)
{
    CAutoPtr<NHPP::CParams> item = Provider();
    if (name) item->SetString(L"NAC_NAME", std::wstring(name), false);
    item->SetString(L"NAC_ADDRESS", std::wstring(address), false);
    ASSERT_EQ(provider->PushbackArrayItem(array, item.Get(), nullptr), NHPP::kOk);
}

std::wstring AddressOf(const CArrayReferenceSupport::Item* item)
{
    if (!item) return L"(none)";
    std::wstring address;
    item->params->GetStringOrDefault(address, L"NAC_ADDRESS", L"", nullptr);
    return address;
}

}  // namespace

TEST(ArrayReferenceSupport, ItemsOfBothArraysAreFoundByNameAndTheIndexIsRebuiltWhenDirty)
{
    CAutoPtr<NHPP::CParams> provider = Provider();
    Add(provider.Get(), L"NAC_NET_OBJS", L"Офис", L"10.0.0.0/8");
    Add(provider.Get(), L"NAC_NET_OBJS", L"Склад", L"192.168.5.0/24");
    Add(provider.Get(), L"NAC_NET_OBJS", L"Офис", L"172.16.0.0/12");  // a second "Офис": the first one counts
    Add(provider.Get(), L"NAC_NET_OBJS", nullptr, L"0.0.0.0/0");      // no name: not indexed
    Add(provider.Get(), L"NAC_SRVC_ADDRS", L"Прокси", L"proxy.corp:3128");

    CArrayReferenceSupport index(L"NAC_NET_OBJS", L"NAC_SRVC_ADDRS", L"NAC_NAME");
    EXPECT_TRUE(index.IsDirty());
    index.Reload(provider.Get());
    EXPECT_FALSE(index.IsDirty());
    EXPECT_EQ(index.Size(), 3u);
    EXPECT_EQ(AddressOf(index.Lookup(L"Офис")), L"10.0.0.0/8");
    EXPECT_EQ(AddressOf(index.Lookup(L"Прокси")), L"proxy.corp:3128");
    EXPECT_EQ(index.Lookup(L"Прокси")->arrayKey, L"NAC_SRVC_ADDRS");
    EXPECT_EQ(index.Lookup(L"Склад")->index, 1u);
    EXPECT_EQ(index.Lookup(L"офис"), nullptr);  // names are compared as they are
    EXPECT_EQ(index.Lookup(L""), nullptr);

    Add(provider.Get(), L"NAC_NET_OBJS", L"Филиал", L"10.20.0.0/16");
    EXPECT_EQ(index.Lookup(L"Филиал"), nullptr);  // not dirty: the old index
    index.SetDirty();
    EXPECT_EQ(AddressOf(index.Lookup(L"Филиал")), L"10.20.0.0/16");
}

TEST(ArrayReferenceSupport, WithoutASecondArrayOrAnyArrayTheIndexIsWhatExists)
{
    CAutoPtr<NHPP::CParams> provider = Provider();
    Add(provider.Get(), L"NAC_CP_ACCOUNTS", L"guest", L"-");
    Add(provider.Get(), L"NAC_WHITE_LIST", L"other", L"-");
    CArrayReferenceSupport accounts(L"NAC_CP_ACCOUNTS", L"", L"NAC_NAME");
    EXPECT_EQ(accounts.Lookup(L"guest"), nullptr);  // dirty, but no provider to reload from yet
    accounts.Reload(provider.Get());
    EXPECT_NE(accounts.Lookup(L"guest"), nullptr);
    EXPECT_EQ(accounts.Lookup(L"other"), nullptr);

    CArrayReferenceSupport missing(L"NAC_RESTRICTIONS", L"", L"NAC_NAME");
    missing.Reload(provider.Get());
    EXPECT_EQ(missing.Size(), 0u);
    missing.Reload(nullptr);
    EXPECT_EQ(missing.Lookup(L"guest"), nullptr);
}
