#pragma once
// What the process needs while an engine exists: here, that a write to a socket whose peer has
// gone returns an error instead of killing the process. Counted: the first engine starts the
// services, the last one stops them.
namespace dvr::platform {

void AcquireProcessServices();
void ReleaseProcessServices();

}  // namespace dvr::platform
