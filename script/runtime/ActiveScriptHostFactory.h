// The Windows Script host behind the seam's script-host slot.
#pragma once

#include <memory>

#include "system/ScriptHostApi.h"

class CActiveScriptHostFactory : public IScriptHostFactory {
 public:
  std::unique_ptr<IScriptHost> CreateHost(int32_t language) override;
};
