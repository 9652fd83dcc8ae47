#pragma once

#include <optional>
#include <string>

#include "Session.h"

// Commands that create objects and configure the console.
namespace ngt {

struct NewObjectOptions {
    std::string policy;   // host, dpoint, task: the governing policy
    std::string taskType; // task
    std::optional<int> platform;  // host, dpoint: 0, 1 or 2
    bool serverHosted = false;    // host, dpoint: the agent runs on the administration server
    std::string agentVersion = "15.0.0.0";
    std::string serverAddress = "localhost";  // host, dpoint: the server its agent was installed to connect to
};

// "new KIND NAME": the catalogue entry, then the plug-in's defaults written
// through a configurator as the console does. Nothing is left behind when
// that fails.
int NewObject(Session& session, const std::string& kind, const std::string& name, const NewObjectOptions& options);

// Makes a new store hold the sample policy "Default policy" and the computer
// "localhost" it governs (nothing happens when the store holds objects).
void EnsureSampleObjects(Session& session);

// "config": every key with its value; "config KEY VALUE" sets one.
int Configure(Session& session, const std::string& key, const std::string& value);

}  // namespace ngt
