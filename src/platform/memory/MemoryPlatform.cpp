// A whole in-memory set of services, for tests and tools.
#include "platform/memory/MemoryPlatform.h"

namespace foyer {

Services MemoryPlatform::Get() {
  Services services;
  services.Fs = &Fs;
  services.Display = &Display;
  services.CodePage = &CodePage;
  services.Clock = &Clock;
  services.Media = &Media;
  services.Programs = &Programs;
  return services;
}

}  // namespace foyer
