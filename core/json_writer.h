#pragma once

#include <concepts>
#include <cstdio>
#include <string>
#include <type_traits>

namespace mosaiqua {

// Just enough JSON for flat objects and arrays: the caller writes keys and values in order.
class JsonWriter final {
public:
    JsonWriter& open(char bracket) {
        comma();
        m_text += bracket;
        m_first = true;
        return *this;
    }
    JsonWriter& close(char bracket) {
        m_text += bracket;
        m_first = false;
        return *this;
    }
    JsonWriter& key(const char* name) {
        comma();
        m_text += '"';
        m_text += name;
        m_text += "\": ";
        m_first = true; // the value follows without a comma
        return *this;
    }
    template <std::integral I> JsonWriter& value(I n) {
        if constexpr (std::is_same_v<I, bool>)
            return raw(n ? "true" : "false");
        else
            return raw(std::to_string(static_cast<long long>(n)));
    }
    JsonWriter& null() { return raw("null"); }
    JsonWriter& value(const std::string& s) {
        std::string quoted = "\"";
        for (char c : s) {
            if (c == '"' || c == '\\')
                quoted += '\\';
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
                quoted += escape;
            } else
                quoted += c;
        }
        return raw(quoted + '"');
    }
    JsonWriter& value(const char* s) { return value(std::string(s)); }
    const std::string& text() const { return m_text; }

private:
    JsonWriter& raw(const std::string& s) {
        comma();
        m_text += s;
        return *this;
    }
    void comma() {
        if (!m_first)
            m_text += ", ";
        m_first = false;
    }
    std::string m_text;
    bool m_first = true;
};

} // namespace mosaiqua
