#include "zrpar/Render.h"

#include <ctime>
#include <nlohmann/json.hpp>
#include <sstream>

#include "zrstd/Crypto.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace ZRPAR {

bool IsSecretName(std::wstring_view name)
{
    const std::wstring upper = ZRSTD::ToUpper(name);
    for (const wchar_t* marker : {L"PASSWORD", L"PASSWD", L"PWD", L"SECRET", L"PRIVATE_KEY", L"PROTECTED"})
        if (upper.find(marker) != std::wstring::npos) return true;
    return false;
}

std::wstring FormatDateTimeUtc(std::int64_t seconds)
{
    std::tm utc{};
    const std::time_t t = static_cast<std::time_t>(seconds);
    if (!gmtime_r(&t, &utc)) return ZRSTD::FormatW(L"%I64d (out of range)", seconds);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return ZRSTD::FromUtf8(text);
}

namespace {

std::string Base64(const BinaryValue& value) { return ZRSTD::Base64Encode(value.GetData(), value.GetDataSize()); }

std::string Hidden(const Value* value)
{
    if (value && value->GetType() == VT_BINARY)
        return ZRSTD::ToUtf8(ZRSTD::FormatW(L"<hidden, %zu bytes>", static_cast<const BinaryValue*>(value)->GetDataSize()));
    return "<hidden>";
}

std::string Quote(std::wstring_view text)
{
    return nlohmann::json(ZRSTD::ToUtf8(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

class TextRenderer {
public:
    explicit TextRenderer(const RenderOptions& options) : m_options(options) {}

    void Container(const Params& params, int indent)
    {
        for (std::size_t i = 0; i < params.GetSize(); ++i) Entry(ZRSTD::ToUtf8(params.NameAt(i)), params.NameAt(i), params.ValueAt(i), indent);
    }

    // "[n]", appended piece by piece: "[" + std::to_string(n) trips g++ 12's -Wrestrict
    static std::string Bracketed(std::size_t n)
    {
        std::string text = "[";
        text += std::to_string(n);
        text += ']';
        return text;
    }

    void Entry(const std::string& label, std::wstring_view name, const Value* value, int indent)
    {
        m_out.append(static_cast<std::size_t>(indent) * 2, ' ');
        m_out += label;
        if (!value) {
            m_out += " (empty)\n";
            return;
        }
        m_out += " (";
        m_out += ZRSTD::ToUtf8(TypeName(value->GetType()));
        if (value->GetType() == VT_ARRAY) m_out += Bracketed(static_cast<const ArrayValue*>(value)->GetSize());
        m_out += ")";
        if (m_options.hideSecrets && IsSecretName(name) && value->GetType() != VT_PARAMS && value->GetType() != VT_ARRAY) {
            m_out += ": " + Hidden(value) + "\n";
            return;
        }
        switch (value->GetType()) {
        case VT_PARAMS:
            m_out += ":\n";
            Container(*static_cast<const ParamsValue*>(value)->GetValue(), indent + 1);
            return;
        case VT_ARRAY: {
            const auto* array = static_cast<const ArrayValue*>(value);
            m_out += array->GetSize() ? ":\n" : "\n";
            for (std::size_t i = 0; i < array->GetSize(); ++i)
                Entry(Bracketed(i), name, array->ItemAt(i), indent + 1);
            return;
        }
        default: m_out += ": " + Scalar(value) + "\n";
        }
    }

    static std::string Scalar(const Value* value)
    {
        switch (value->GetType()) {
        case VT_STRING: return Quote(static_cast<const StringValue*>(value)->GetValue());
        case VT_BOOL: return static_cast<const BoolValue*>(value)->GetValue() ? "true" : "false";
        case VT_INT: return std::to_string(static_cast<const IntValue*>(value)->GetValue());
        case VT_LONG: return std::to_string(static_cast<const LongValue*>(value)->GetValue());
        case VT_DATETIME: return ZRSTD::ToUtf8(FormatDateTimeUtc(static_cast<const DateTimeValue*>(value)->GetValue()));
        case VT_BINARY: {
            const auto* binary = static_cast<const BinaryValue*>(value);
            return std::to_string(binary->GetDataSize()) + " bytes " + Base64(*binary);
        }
        default: return {};
        }
    }

    std::string Take() { return std::move(m_out); }

private:
    const RenderOptions& m_options;
    std::string m_out;
};

nlohmann::ordered_json JsonValue(const Value* value, std::wstring_view name, const RenderOptions& options);

nlohmann::ordered_json JsonContainer(const Params& params, const RenderOptions& options)
{
    auto object = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < params.GetSize(); ++i)
        object[ZRSTD::ToUtf8(params.NameAt(i))] = JsonValue(params.ValueAt(i), params.NameAt(i), options);
    return object;
}

nlohmann::ordered_json JsonValue(const Value* value, std::wstring_view name, const RenderOptions& options)
{
    if (!value) return nullptr;
    const ValueType type = value->GetType();
    if (options.hideSecrets && IsSecretName(name) && type != VT_PARAMS && type != VT_ARRAY) return Hidden(value);
    switch (type) {
    case VT_STRING: return ZRSTD::ToUtf8(static_cast<const StringValue*>(value)->GetValue());
    case VT_BOOL: return static_cast<const BoolValue*>(value)->GetValue();
    case VT_INT: return static_cast<const IntValue*>(value)->GetValue();
    case VT_LONG: return static_cast<const LongValue*>(value)->GetValue();
    case VT_DATETIME: return ZRSTD::ToUtf8(FormatDateTimeUtc(static_cast<const DateTimeValue*>(value)->GetValue()));
    case VT_BINARY: return Base64(*static_cast<const BinaryValue*>(value));
    case VT_PARAMS: return JsonContainer(*static_cast<const ParamsValue*>(value)->GetValue(), options);
    case VT_ARRAY: {
        auto items = nlohmann::ordered_json::array();
        const auto* array = static_cast<const ArrayValue*>(value);
        for (std::size_t i = 0; i < array->GetSize(); ++i) items.push_back(JsonValue(array->ItemAt(i), name, options));
        return items;
    }
    case VT_EMPTY: return nullptr;
    }
    return nullptr;
}

}  // namespace

std::string RenderText(const Params& params, const RenderOptions& options)
{
    TextRenderer renderer(options);
    renderer.Container(params, 0);
    return renderer.Take();
}

std::string RenderJson(const Params& params, const RenderOptions& options)
{
    return JsonContainer(params, options).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace ZRPAR

void ZRPARLOG_LogParams2(int level, const char* module, const ZRPAR::Params* params)
{
    const std::string_view moduleName = module ? module : ZRSTD::kTraceModule;
    if (!ZRSTD::TraceEnabled(level)) return;
    if (!params) {
        ZRSTD::TraceWrite(level, moduleName, L"(null container)");
        return;
    }
    std::istringstream lines(ZRPAR::RenderText(*params));
    ZRSTD::TraceWrite(level, moduleName, ZRSTD::FormatW(L"container of %zu values:", params->GetSize()));
    for (std::string line; std::getline(lines, line);) ZRSTD::TraceWrite(level, moduleName, ZRSTD::FromUtf8(line));
}
