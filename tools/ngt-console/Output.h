#pragma once

#include <iostream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

// How the console host prints: what a command produces goes to standard
// output (as text or JSON), notes and refusals to standard error, so that
// "ngt-console export X > file" holds only the export.
namespace ngt {

enum class Format { Text, Json, Packed, Xml };

// A command written wrong (exit 2), as opposed to a refusal (exit 1).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A note for the person at the terminal, never part of the output.
inline void Note(const std::string& text) { std::cerr << "ngt-console: " << text << "\n"; }

inline void PrintJson(const nlohmann::json& value) { std::cout << value.dump(2) << "\n"; }

}  // namespace ngt
