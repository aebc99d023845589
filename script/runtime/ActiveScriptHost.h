// A host for the Windows Script engines (VBScript, JavaScript) over the
// ActiveX Scripting interfaces: it starts an engine with a site of its own,
// parses and runs a script text, and calls one of its functions by name with
// integer and string arguments, receiving text. Every failure becomes a text
// in the site's error list, for the caller to show.
#pragma once

#include <windows.h>
#include <activscp.h>

#include <cstdint>
#include <string>
#include <vector>

// The arguments of one call: each a type code and an integer or a text.
class CDispArgList {
 public:
  // The automation parameter codes of a 4-byte integer and an 8-bit text.
  enum : unsigned char { kTypeInt = 3, kTypeText = 0x0E };

  void AddInt(int32_t n);
  void AddString(const std::string& text);
  size_t Count() const { return m_arrEntry.size(); }
  // The entries' type codes in order, ending with a zero byte.
  std::string TypeCodes() const;
  // Per entry in order, the integer itself or a pointer to the text (valid
  // while the list lives unchanged).
  std::vector<uintptr_t> ValuePointers() const;

 private:
  struct CEntry {
    unsigned char type;
    int32_t number;
    std::string text;
  };
  std::vector<CEntry> m_arrEntry;
};

// The object the engine calls back: script errors become texts in its list.
// It lives inside its host and is never freed by its reference count.
class CScriptSite : public IActiveScriptSite, public IActiveScriptSiteWindow {
 public:
  CScriptSite() = default;
  virtual ~CScriptSite() = default;
  CScriptSite(const CScriptSite&) = delete;
  CScriptSite& operator=(const CScriptSite&) = delete;

  // IUnknown, for both interfaces.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IActiveScriptSite.
  STDMETHODIMP GetLCID(LCID* lcid) override;
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD returnMask, IUnknown** item, ITypeInfo** typeInfo) override;
  STDMETHODIMP GetDocVersionString(BSTR* version) override;
  STDMETHODIMP OnScriptTerminate(const VARIANT* result, const EXCEPINFO* exception) override;
  STDMETHODIMP OnStateChange(SCRIPTSTATE state) override;
  STDMETHODIMP OnScriptError(IActiveScriptError* error) override;
  STDMETHODIMP OnEnterScript() override;
  STDMETHODIMP OnLeaveScript() override;

  // IActiveScriptSiteWindow.
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;

  std::vector<std::string> m_arrError;
  int32_t m_bError = 0;
  HWND m_hWnd = nullptr;
  // This host exposes no objects to scripts: the list stays empty.
  std::vector<std::wstring> m_arrNamedItem;

 private:
  LONG m_nRefCount = 1;
};

// Holds the script's dispatch interface and calls methods through it.
class CDispatchDriver {
 public:
  CDispatchDriver() = default;
  ~CDispatchDriver() { ReleaseDispatch(); }
  CDispatchDriver(const CDispatchDriver&) = delete;
  CDispatchDriver& operator=(const CDispatchDriver&) = delete;

  // Takes over the caller's reference.
  void AttachDispatch(IDispatch* dispatch);
  void ReleaseDispatch();
  // Calls the method with the arguments, asking for the return value as a
  // string; the exception information is filled on a failure inside.
  HRESULT InvokeMethod(DISPID id, const CDispArgList& arguments, std::string& result, EXCEPINFO& exception);

 private:
  IDispatch* m_pDispatch = nullptr;
};

class CActiveScriptHost {
 public:
  CActiveScriptHost() = default;
  ~CActiveScriptHost();
  CActiveScriptHost(const CActiveScriptHost&) = delete;
  CActiveScriptHost& operator=(const CActiveScriptHost&) = delete;

  // Starts the engine of the language (1 VBScript, 2 JavaScript, 0 the one
  // stored); false with the reason in the error list.
  bool Init(int32_t language);
  // Parses and starts the text and gets the script's dispatch interface.
  bool LoadScript(const std::string& text);
  // Always true; the result is the function's return value as text, empty
  // when the name is unknown or the call failed (then with an error text).
  bool CallFunction(const std::string& name, const CDispArgList& arguments, std::string& result);
  size_t GetErrorCount() const { return m_site.m_arrError.size(); }
  void GetErrors(std::vector<std::string>& errors) const { errors = m_site.m_arrError; }

 private:
  // A negative result adds "COM Error: 0x%08lx\n" and the message to the
  // error list and fails.
  bool Check(HRESULT hr, const std::string& message);
  void ReleaseEngine();

  CDispatchDriver m_driver;
  CScriptSite m_site;
  IActiveScript* m_pEngine = nullptr;
  IActiveScriptParse* m_pParser = nullptr;
  IDispatch* m_pScriptDispatch = nullptr;  // held by the driver
  int32_t m_bInitialized = 0;
  int32_t m_nLanguage = 1;
};
