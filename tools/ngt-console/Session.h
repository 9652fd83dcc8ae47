#pragma once

#include "host/console/ConsoleSession.h"

// The command line works on the console's session: its store and the plug-in.
namespace ngt {

using Session = host::ConsoleSession;

// Raises the console host's own refusal (exit 1) with a message.
[[noreturn]] inline void Refuse(const std::wstring& message) { host::RefuseRequest(message); }

}  // namespace ngt
