// Base of every object a script can hold: boxed values, the built-in classes
// and host objects. The virtual operations are in a fixed order (host objects
// override by slot); do not reorder or insert.
#pragma once

#include <cstdint>
#include <string>

#include "script/runtime/RefObject.h"
#include "script/runtime/ScriptVariable.h"

class CCallFrame;
class IScriptInterpreter;

class CScriptObject : public CRefObject {
 public:
  CScriptObject() = default;
  CScriptObject(const CScriptObject&) = delete;
  CScriptObject& operator=(const CScriptObject&) = delete;

  // Slot 0: releases the member variables.
  ~CScriptObject() override;
  // Slot 1: a new object of the same class, count 0, with the given instance
  // name and this object's interpreter link.
  virtual CScriptObject* CreateInstance(const std::string& name);
  // Slot 2: an empty name or "m_listUserVar" releases every member variable.
  virtual void ClearList(const std::string& listName);
  // Slot 3: runs a method (name in any case); 1 if handled, 0 if unknown.
  virtual int32_t Invoke(const std::string& method, CCallFrame& frame);
  // Slot 4: sets the member's text, creating the member if needed; 1.
  virtual int32_t SetMember(const std::string& name, const std::string& text);
  // Slot 5: the member of that name (any case), or null; no reference added.
  virtual CScriptVariable* FindMember(const std::string& name);
  // Slots 6 and 7 are reserved and return 0.
  virtual int32_t ReservedSlot6(void* arg);
  virtual int32_t ReservedSlot7(void* arg);
  // Slots 8 to 10: the value of a box; empty text and 0 for other objects.
  virtual std::string ToText() const;
  virtual int32_t ToInt() const;
  virtual double ToDouble() const;
  // Slot 11: 0 unless a class says otherwise.
  virtual int32_t IsEqual(const CScriptObject* other) const;

  // The boxes keep their class's name without storing it in each box.
  const std::string& GetTypeName() const {
    return (m_strTypeName.empty() && m_nBoxKind != 0) ? BoxTypeName(m_nBoxKind) : m_strTypeName;
  }
  void SetTypeName(const std::string& name) { m_strTypeName = name; }
  const std::string& GetInstanceName() const { return m_strInstanceName; }
  void SetInstanceName(const std::string& name) { m_strInstanceName = name; }
  IScriptInterpreter* GetInterpreter() const { return m_pInterpreter; }
  void SetInterpreter(IScriptInterpreter* interpreter) { m_pInterpreter = interpreter; }
  CVariableList& Members() { return m_listUserVar; }

  // VALUE_STRING, VALUE_INT or VALUE_DOUBLE for the box classes, else 0.
  int32_t BoxKind() const { return m_nBoxKind; }

 protected:
  // Gives a new instance the instance name, this object's type name and its
  // interpreter link.
  CScriptObject* InitInstance(CScriptObject* instance, const std::string& name) const;
  // Argument i read with GetArgumentText(i, true), then passed once more
  // through the interpreter link's ResolveArgText.
  std::string ResolvedArgument(const CCallFrame& frame, int32_t index) const;
  // The same, read as a decimal integer.
  int32_t ResolvedNumber(const CCallFrame& frame, int32_t index) const;

  int32_t m_nBoxKind = 0;

 private:
  static const std::string& BoxTypeName(int32_t boxKind);

  std::string m_strInstanceName;
  std::string m_strTypeName;
  CVariableList m_listUserVar;
  IScriptInterpreter* m_pInterpreter = nullptr;
};
