#pragma once

#include <string>

#include "Output.h"
#include "Session.h"

// Commands of the console host that work on the store and on documents
// without the plug-in. Each returns the process's exit code: 0 done, 1
// refused (the reason is on standard error).
namespace ngt {

// Reads a packed or XML-envelope document from a file ("-": standard input) and prints it.
int DecodeDocument(const std::string& file, Format format);
// Makes an empty store (no objects).
int InitStore(Session& session, Format format);
// The store's integrity and its key file.
int CheckStore(Session& session, Format format);
// The objects in the store, with their kind, governing policy, task type and platform.
int ListObjects(Session& session, Format format);
// The stored sections of an object, as dump takes them.
int ListSections(Session& session, const std::string& object, Format format);
// One stored section of an object: "86" (under the agent's product and
// version) or "PRODUCT/VERSION/SECTION".
int DumpSection(Session& session, const std::string& object, const std::string& section, Format format);
// Copies every object, section and configuration value of the store at from
// into the store at to (made when missing), with the key file of its secrets,
// then compares the two; a target that holds anything is refused unless force
// is set, which empties it first.
int CopyStore(const std::string& from, const std::string& to, bool force, Format format);
// Removes an object; a policy that governs objects only with force, which detaches them.
int DeleteObject(Session& session, const std::string& object, bool force, Format format);

}  // namespace ngt
