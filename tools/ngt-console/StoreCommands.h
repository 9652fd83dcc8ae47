#pragma once

#include <string>

#include "Output.h"

// Commands of the console host that work on the store and on documents
// without the plug-in. Each returns the process's exit code: 0 done, 1 refused
// (the reason is on standard error).
namespace ngt {

// Reads a packed or XML-envelope document from a file ("-": standard input) and prints it.
int DecodeDocument(const std::string& file, Format format);
// The store's integrity check.
int CheckStore(const std::string& storePath);
// The objects in the store.
int ListObjects(const std::string& storePath, Format format);
// One stored section of an object ("policy:NAME", "host:NAME", ...).
int DumpSection(const std::string& storePath, const std::string& object, const std::string& section, Format format);

// "policy:Default policy" and the like; false, with the reason, when the name is not one.
bool IsObjectName(const std::string& object, std::string& reason);

}  // namespace ngt
