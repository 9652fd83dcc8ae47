#pragma once

// The maker's base and container libraries are one shared object that the
// console host and the plug-in both load, so that containers, errors and
// reference-counted objects pass between them as one type.
#define ZR_API __attribute__((visibility("default")))
