#include "lab/lab_host.h"

namespace vlab {

namespace {

NullHost nullHost;
LabHost* currentHost = nullptr;

}  // namespace

LabHost& Host() { return currentHost ? *currentHost : nullHost; }

void SetHost(LabHost* host) { currentHost = host; }

}  // namespace vlab
