#include "script/runtime/ActiveScriptHost.h"

#include <memory>

#include "app/Text.h"
#include "script/runtime/ActiveScriptHostFactory.h"

namespace {

// The interface ids are defined here: the import library lacks some of them.
const IID kIidActiveScript = {0xbb1a2ae1, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
const IID kIidActiveScriptParse = {0xbb1a2ae2, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
const IID kIidActiveScriptSite = {0xdb01a1e3, 0xa42b, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
const IID kIidActiveScriptSiteWindow = {0xd10f6761, 0x83e9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
const IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidNull = {0x00000000, 0x0000, 0x0000, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};

// The system default locale, as names are looked up in.
constexpr LCID kLocaleSystemDefault = 0x0800;

std::wstring WideText(const std::string& text) {
  if (text.empty()) return std::wstring();
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
  return wide;
}

std::string NarrowText(const wchar_t* text, size_t length) {
  if (!text || length == 0) return std::string();
  int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &narrow[0], size, nullptr, nullptr);
  return narrow;
}

std::string NarrowBstr(BSTR text) { return text ? NarrowText(text, SysStringLen(text)) : std::string(); }

BSTR NewBstr(const std::string& text) {
  std::wstring wide = WideText(text);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

// An EXCEPINFO that frees its texts when it goes.
struct CExceptionInfo {
  EXCEPINFO info{};
  CExceptionInfo() = default;
  CExceptionInfo(const CExceptionInfo&) = delete;
  CExceptionInfo& operator=(const CExceptionInfo&) = delete;
  ~CExceptionInfo() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
  // Some engines fill the texts in only when asked.
  std::string Description() {
    if (info.pfnDeferredFillIn) {
      info.pfnDeferredFillIn(&info);
      info.pfnDeferredFillIn = nullptr;
    }
    return NarrowBstr(info.bstrDescription);
  }
};

}  // namespace

// ---- argument list

void CDispArgList::AddInt(int32_t n) { m_arrEntry.push_back(CEntry{kTypeInt, n, std::string()}); }

void CDispArgList::AddString(const std::string& text) { m_arrEntry.push_back(CEntry{kTypeText, 0, text}); }

std::string CDispArgList::TypeCodes() const {
  std::string codes;
  for (const CEntry& entry : m_arrEntry) codes += static_cast<char>(entry.type);
  return codes;  // c_str() gives the terminating zero
}

std::vector<uintptr_t> CDispArgList::ValuePointers() const {
  std::vector<uintptr_t> values;
  for (const CEntry& entry : m_arrEntry) {
    values.push_back(entry.type == kTypeInt ? static_cast<uintptr_t>(static_cast<uint32_t>(entry.number))
                                            : reinterpret_cast<uintptr_t>(entry.text.c_str()));
  }
  return values;
}

// ---- site

STDMETHODIMP CScriptSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, kIidActiveScriptSiteWindow)) {
    *object = static_cast<IActiveScriptSiteWindow*>(this);
  } else if (IsEqualIID(iid, kIidActiveScriptSite) || IsEqualIID(iid, kIidUnknown)) {
    *object = static_cast<IActiveScriptSite*>(this);
  } else {
    *object = nullptr;
    return E_NOTIMPL;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CScriptSite::AddRef() { return static_cast<ULONG>(++m_nRefCount); }

STDMETHODIMP_(ULONG) CScriptSite::Release() {
  // The site belongs to its host: the count never destroys it.
  if (m_nRefCount > 0) --m_nRefCount;
  return static_cast<ULONG>(m_nRefCount);
}

STDMETHODIMP CScriptSite::GetLCID(LCID* lcid) {
  if (!lcid) return E_POINTER;
  *lcid = GetUserDefaultLCID();
  return S_OK;
}

STDMETHODIMP CScriptSite::GetItemInfo(LPCOLESTR name, DWORD returnMask, IUnknown** item, ITypeInfo** typeInfo) {
  if ((returnMask & SCRIPTINFO_IUNKNOWN) && item) *item = nullptr;
  if ((returnMask & SCRIPTINFO_ITYPEINFO) && typeInfo) *typeInfo = nullptr;
  return TYPE_E_ELEMENTNOTFOUND;
}

STDMETHODIMP CScriptSite::GetDocVersionString(BSTR* version) {
  if (version) *version = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CScriptSite::OnScriptTerminate(const VARIANT* result, const EXCEPINFO* exception) { return S_OK; }
STDMETHODIMP CScriptSite::OnStateChange(SCRIPTSTATE state) { return S_OK; }
STDMETHODIMP CScriptSite::OnEnterScript() { return S_OK; }
STDMETHODIMP CScriptSite::OnLeaveScript() { return S_OK; }

STDMETHODIMP CScriptSite::OnScriptError(IActiveScriptError* error) {
  DWORD context = 0;
  ULONG line = 0;
  LONG position = 0;
  if (error) error->GetSourcePosition(&context, &line, &position);
  std::string text = StrFormat("Script error in line %ld, position %ld", static_cast<long>(line),
                               static_cast<long>(position));
  if (error) {
    BSTR source = nullptr;
    if (SUCCEEDED(error->GetSourceLineText(&source)) && source) text += "\nSource line: " + NarrowBstr(source);
    SysFreeString(source);
    CExceptionInfo exception;
    if (SUCCEEDED(error->GetExceptionInfo(&exception.info))) {
      std::string description = exception.Description();
      if (!description.empty()) text += "\nDescription: " + description;
    }
  }
  m_arrError.push_back(text);
  m_bError = 1;
  return S_OK;
}

STDMETHODIMP CScriptSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  // The program has no main window of its own: the active window or none.
  m_hWnd = GetActiveWindow();
  *window = m_hWnd;
  return S_OK;
}

STDMETHODIMP CScriptSite::EnableModeless(BOOL enable) { return S_OK; }

// ---- dispatch driver

void CDispatchDriver::AttachDispatch(IDispatch* dispatch) {
  ReleaseDispatch();
  m_pDispatch = dispatch;
}

void CDispatchDriver::ReleaseDispatch() {
  if (m_pDispatch) m_pDispatch->Release();
  m_pDispatch = nullptr;
}

HRESULT CDispatchDriver::InvokeMethod(DISPID id, const CDispArgList& arguments, std::string& result,
                                      EXCEPINFO& exception) {
  if (!m_pDispatch) return E_POINTER;
  const std::string codes = arguments.TypeCodes();
  const std::vector<uintptr_t> values = arguments.ValuePointers();
  // Automation takes the arguments last first.
  std::vector<VARIANT> variants(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) {
    VARIANT& v = variants[codes.size() - 1 - i];
    VariantInit(&v);
    if (static_cast<unsigned char>(codes[i]) == CDispArgList::kTypeInt) {
      V_VT(&v) = VT_I4;
      V_I4(&v) = static_cast<LONG>(static_cast<uint32_t>(values[i]));
    } else {
      V_VT(&v) = VT_BSTR;
      V_BSTR(&v) = NewBstr(reinterpret_cast<const char*>(values[i]));
    }
  }
  DISPPARAMS parameters = {variants.empty() ? nullptr : variants.data(), nullptr, static_cast<UINT>(variants.size()),
                           0};
  VARIANT returned;
  VariantInit(&returned);
  UINT argumentError = 0;
  HRESULT hr = m_pDispatch->Invoke(id, kIidNull, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &returned,
                                   &exception, &argumentError);
  if (SUCCEEDED(hr)) {
    hr = VariantChangeType(&returned, &returned, 0, VT_BSTR);
    if (SUCCEEDED(hr)) result = NarrowBstr(V_BSTR(&returned));
  }
  VariantClear(&returned);
  for (VARIANT& v : variants) VariantClear(&v);
  return hr;
}

// ---- host

CActiveScriptHost::~CActiveScriptHost() {
  m_site.m_arrNamedItem.clear();
  ReleaseEngine();
}

void CActiveScriptHost::ReleaseEngine() {
  m_driver.ReleaseDispatch();
  m_pScriptDispatch = nullptr;
  if (m_pParser) m_pParser->Release();
  m_pParser = nullptr;
  if (m_pEngine) {
    // Closing makes the engine let go of the site, which lives in this host.
    m_pEngine->Close();
    m_pEngine->Release();
  }
  m_pEngine = nullptr;
  m_bInitialized = 0;
}

bool CActiveScriptHost::Check(HRESULT hr, const std::string& message) {
  if (SUCCEEDED(hr)) return true;
  m_site.m_arrError.push_back(StrFormat("COM Error: 0x%08lx\n", static_cast<unsigned long>(hr)) + message);
  return false;
}

bool CActiveScriptHost::Init(int32_t language) {
  m_site.m_arrError.clear();
  m_site.m_bError = 0;
  if (language != 0) m_nLanguage = language;
  // A second start replaces the first engine.
  ReleaseEngine();

  CLSID engineClass;
  const wchar_t* progId = m_nLanguage == 2 ? L"JavaScript" : L"VBScript";
  if (!Check(CLSIDFromProgID(progId, &engineClass), "Scripting Engine (VBScript.dll) not registered")) return false;
  void* engine = nullptr;
  if (!Check(CoCreateInstance(engineClass, nullptr, CLSCTX_INPROC_SERVER, kIidActiveScript, &engine),
             "Scripting Engine (VBScript.dll) not started")) {
    return false;
  }
  m_pEngine = static_cast<IActiveScript*>(engine);
  void* parser = nullptr;
  if (!Check(m_pEngine->QueryInterface(kIidActiveScriptParse, &parser), "Scripting Engine Parser not available")) {
    ReleaseEngine();
    return false;
  }
  m_pParser = static_cast<IActiveScriptParse*>(parser);
  if (!Check(m_pEngine->SetScriptSite(static_cast<IActiveScriptSite*>(&m_site)), "Could not host scripting site") ||
      !Check(m_pParser->InitNew(), "Could not initialize scripting parser")) {
    ReleaseEngine();
    return false;
  }
  m_pScriptDispatch = nullptr;
  m_site.m_arrNamedItem.clear();
  m_site.m_hWnd = nullptr;  // the program has no main window
  m_bInitialized = 1;
  return true;
}

bool CActiveScriptHost::LoadScript(const std::string& text) {
  const std::wstring code = WideText(text);
  if (!m_bInitialized) Init(m_nLanguage);
  if (!m_bInitialized) return false;

  CExceptionInfo exception;
  if (!Check(m_pParser->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, &exception.info),
             "Error parsing script text") ||
      !Check(m_pEngine->SetScriptState(SCRIPTSTATE_CONNECTED), "Error running the script")) {
    ReleaseEngine();
    return false;
  }
  IDispatch* dispatch = nullptr;
  if (!Check(m_pEngine->GetScriptDispatch(nullptr, &dispatch), "Error getting script dispatch")) {
    m_pScriptDispatch = nullptr;
    return false;
  }
  m_driver.AttachDispatch(dispatch);
  m_pScriptDispatch = dispatch;
  return true;
}

bool CActiveScriptHost::CallFunction(const std::string& name, const CDispArgList& arguments, std::string& result) {
  result.clear();
  if (!m_pScriptDispatch) return true;
  std::wstring wideName = WideText(name);
  if (wideName.empty()) return true;
  LPOLESTR names[] = {&wideName[0]};
  DISPID id = 0;
  if (m_pScriptDispatch->GetIDsOfNames(kIidNull, names, 1, kLocaleSystemDefault, &id) != S_OK) return true;

  const size_t errorsBefore = m_site.m_arrError.size();
  CExceptionInfo exception;
  std::string text;
  HRESULT hr = m_driver.InvokeMethod(id, arguments, text, exception.info);
  if (FAILED(hr)) {
    // A run-time error inside the function: reported, and the result stays
    // empty. When the engine told the site about it already, that text says it.
    if (m_site.m_arrError.size() == errorsBefore) {
      std::string message = "Error calling script function " + name;
      std::string description = exception.Description();
      if (!description.empty()) message += "\nDescription: " + description;
      Check(hr, message);
    }
    return true;
  }
  result = text;
  return true;
}

// ---- the seam's factory

namespace {

class CActiveScriptHostAdapter : public IScriptHost {
 public:
  explicit CActiveScriptHostAdapter(int32_t language) { m_host.Init(language); }

  bool LoadScript(const std::string& text) override { return m_host.LoadScript(text); }

  std::string CallFunction(const std::string& name, const std::vector<CScriptHostArgument>& arguments) override {
    CDispArgList list;
    for (const CScriptHostArgument& argument : arguments) {
      if (argument.m_bString) {
        list.AddString(argument.m_strText);
      } else {
        list.AddInt(argument.m_nNumber);
      }
    }
    std::string result;
    m_host.CallFunction(name, list, result);
    return result;
  }

  std::vector<std::string> Errors() const override {
    std::vector<std::string> errors;
    m_host.GetErrors(errors);
    return errors;
  }

 private:
  CActiveScriptHost m_host;
};

}  // namespace

std::unique_ptr<IScriptHost> CActiveScriptHostFactory::CreateHost(int32_t language) {
  return std::make_unique<CActiveScriptHostAdapter>(language);
}
