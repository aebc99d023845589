#include "tests/fakes/FakeScriptHost.h"

namespace {

class CFakeScriptHost : public IScriptHost {
 public:
  CFakeScriptHost(CFakeScriptHostFactory& factory, int32_t language) : m_factory(factory), m_nLanguage(language) {}

  bool LoadScript(const std::string& text) override {
    m_strScript = text;
    m_errors.insert(m_errors.end(), m_factory.m_loadErrors.begin(), m_factory.m_loadErrors.end());
    return m_factory.m_loadErrors.empty();
  }

  std::string CallFunction(const std::string& name, const std::vector<CScriptHostArgument>& arguments) override {
    m_factory.m_calls.push_back(CFakeScriptHostFactory::CCall{m_nLanguage, m_strScript, name, arguments});
    return m_factory.m_onCall ? m_factory.m_onCall(name, arguments, m_errors) : std::string();
  }

  std::vector<std::string> Errors() const override { return m_errors; }

 private:
  CFakeScriptHostFactory& m_factory;
  int32_t m_nLanguage;
  std::string m_strScript;
  std::vector<std::string> m_errors;
};

}  // namespace

std::unique_ptr<IScriptHost> CFakeScriptHostFactory::CreateHost(int32_t language) {
  ++m_nHostsMade;
  return std::make_unique<CFakeScriptHost>(*this, language);
}
