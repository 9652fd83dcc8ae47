#pragma once

#include <string>

#include "Output.h"
#include "Session.h"

// Commands that create objects and configure the console.
namespace ngt {

// "new KIND NAME": the catalogue entry, then the plug-in's defaults written
// through a configurator as the console does. Nothing is left behind when
// that fails.
int NewObject(Session& session, const std::string& kind, const std::string& name,
              const host::NewObjectOptions& options, Format format = Format::Text);

// Makes a new store hold the sample policy "Default policy" and the computer
// "localhost" it governs (nothing happens when the store holds objects).
void EnsureSampleObjects(Session& session);

// "config": every key with its value; "config KEY VALUE" sets one.
int Configure(Session& session, const std::string& key, const std::string& value, Format format);

}  // namespace ngt
