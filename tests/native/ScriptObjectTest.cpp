// Script objects: the base operations, the boxed classes and their methods,
// and the value set.
#include <gtest/gtest.h>

#include <typeinfo>

#include "script/runtime/BoxedObjects.h"
#include "script/runtime/CallFrame.h"
#include "script/runtime/RegKeyObject.h"
#include "script/runtime/ValueSet.h"
#include "tests/fakes/FakeInterpreter.h"

namespace {

// Calls a method with an argument-list text; the frame's interpreter is the
// engine, as it is for every method call of a script.
struct CMethodCall {
  CFakeInterpreter& engine;
  CCallFrame frame;
  explicit CMethodCall(CFakeInterpreter& e) : engine(e), frame(&e) {}
  int32_t Run(CScriptObject& object, const std::string& method, const std::string& args) {
    frame.ParseArguments(args);
    return object.Invoke(method, frame);
  }
};

TEST(ScriptObject, BaseOperations) {
  CFakeInterpreter engine;
  CScriptObject base;
  base.SetInterpreter(&engine);
  base.SetTypeName("Widget");
  EXPECT_EQ(base.SetMember("Size", "3"), 1);
  EXPECT_EQ(base.SetMember("SIZE", "4"), 1);
  ASSERT_EQ(base.Members().Count(), 1u);
  EXPECT_EQ(base.FindMember("size")->GetText(), "4");
  EXPECT_EQ(base.FindMember("size")->GetKind(), VALUE_TEXT);
  EXPECT_EQ(base.FindMember("other"), nullptr);

  CCallFrame frame;
  EXPECT_EQ(base.Invoke("Anything", frame), 0);
  EXPECT_EQ(base.ReservedSlot6(nullptr), 0);
  EXPECT_EQ(base.ReservedSlot7(nullptr), 0);
  EXPECT_EQ(base.ToText(), "");
  EXPECT_EQ(base.ToInt(), 0);
  EXPECT_EQ(base.ToDouble(), 0.0);
  EXPECT_EQ(base.IsEqual(&base), 0);

  base.ClearList("m_listOther");
  base.ClearList("M_LISTUSERVAR");
  EXPECT_EQ(base.Members().Count(), 1u);
  base.ClearList("m_listUserVar");
  EXPECT_EQ(base.Members().Count(), 0u);
  base.SetMember("a", "1");
  base.ClearList("");
  EXPECT_EQ(base.Members().Count(), 0u);

  CScriptObject* instance = base.CreateInstance("first");
  EXPECT_EQ(instance->RefCount(), 0);
  EXPECT_EQ(instance->GetInstanceName(), "first");
  EXPECT_EQ(instance->GetTypeName(), "Widget");
  EXPECT_EQ(instance->GetInterpreter(), &engine);
  instance->Release();
}

TEST(ScriptObject, InstancesKeepClassAndLink) {
  CFakeInterpreter engine;
  CScriptObject* prototypes[] = {new CIntObject(), new CDoubleObject(), new CStringObject(), new CValueSet(),
                                 new CRegKey()};
  const char* names[] = {"int", "double", "String", "CValueSet", "CRegKey"};
  for (size_t i = 0; i < 5; ++i) {
    engine.AddClass(prototypes[i]);
    CScriptObject* instance = prototypes[i]->CreateInstance("");
    EXPECT_EQ(typeid(*instance), typeid(*prototypes[i]));
    EXPECT_EQ(instance->GetTypeName(), names[i]);
    EXPECT_EQ(engine.FindClass(names[i]), prototypes[i]);
    EXPECT_EQ(instance->GetInterpreter(), &engine);
    instance->Release();
  }
  // An instance resolves its arguments through the link it was given.
  engine.AddVariable("n", VALUE_TEXT, "2");
  CScriptObject* text = engine.FindClass("string")->CreateInstance("");
  static_cast<CStringObject*>(text)->SetText("abcdef");
  CCallFrame frame;  // no interpreter in the frame: only the link resolves
  frame.ParseArguments("n");
  EXPECT_EQ(text->Invoke("Left", frame), 1);
  EXPECT_EQ(frame.m_result.GetText(), "ab");
  text->Release();
}

TEST(BoxedObjects, Conversions) {
  CIntObject i(-7);
  EXPECT_EQ(i.ToText(), "-7");
  EXPECT_EQ(i.ToDouble(), -7.0);
  CDoubleObject d(-2.75);
  EXPECT_EQ(d.ToText(), "-2.750000");
  EXPECT_EQ(d.ToInt(), -2);
  CStringObject s(" 12.5abc");
  EXPECT_EQ(s.ToInt(), 12);
  EXPECT_EQ(s.ToDouble(), 12.5);
  CStringObject same(" 12.5abc"), other(" 12.5ABC");
  EXPECT_EQ(s.IsEqual(&same), 1);
  EXPECT_EQ(s.IsEqual(&other), 0);
  EXPECT_EQ(s.IsEqual(nullptr), 0);
  CStringObject seven("-7");
  EXPECT_EQ(seven.IsEqual(&i), 1);

  CFakeInterpreter engine;
  CMethodCall call(engine);
  EXPECT_EQ(call.Run(d, "tostring", ""), 1);
  EXPECT_EQ(call.frame.m_result.GetKind(), VALUE_STRING);
  EXPECT_EQ(call.frame.m_result.GetText(), "-2.750000");
  EXPECT_EQ(call.Run(i, "ToString", ""), 1);
  EXPECT_EQ(call.frame.m_result.GetText(), "-7");
  EXPECT_EQ(call.Run(i, "Left", "1"), 0);
}

TEST(StringObject, Methods) {
  CFakeInterpreter engine;
  engine.AddVariable("two", VALUE_INT, "2");
  engine.AddVariable("alias", VALUE_STRING, "two");
  struct Case {
    const char* method;
    const char* args;
    const char* result;
  } cases[] = {
      {"Left", "2", "ab"},          {"Left", "-1", ""},          {"left", "99", "abcdef"},
      {"Right", "10", "abcdef"},    {"Right", "2", "ef"},        {"Right", "-3", ""},
      {"Mid", "2<,>2", "cd"},       {"Mid", "2<,>0", "cdef"},    {"Mid", "-5<,>2", "ab"},
      {"Mid", "6<,>1", ""},         {"Mid", "99<,>1", ""},       {"Mid", "4<,>99", "ef"},
      {"Left", "two", "ab"},        {"Left", "\"3\"", "abc"},    {"Left", "alias", "ab"},
      {"Left", "", ""},             {"ToUpper", "", "ABCDEF"},   {"TOLOWER", "", "abcdef"},
  };
  for (const Case& c : cases) {
    CStringObject s("abcdef");
    s.SetInterpreter(&engine);
    CMethodCall call(engine);
    EXPECT_EQ(call.Run(s, c.method, c.args), 1) << c.method;
    EXPECT_EQ(call.frame.m_result.GetKind(), VALUE_STRING) << c.method << " " << c.args;
    EXPECT_EQ(call.frame.m_result.GetText(), c.result) << c.method << " " << c.args;
    EXPECT_EQ(s.Text(), "abcdef");
  }
}

TEST(StringObject, ReplaceChangesTheVariableAndToUpperDoesNot) {
  CFakeInterpreter engine;
  CScriptVariable* s = engine.AddVariable("s", VALUE_STRING, "a-b--c");
  auto* box = static_cast<CStringObject*>(s->m_value.GetAttachedObject());
  box->SetInterpreter(&engine);
  struct Case {
    const char* args;
    const char* text;
  } cases[] = {{"\"-\"<,>\"+\"", "a+b++c"}, {"\"++\"<,>\"\"", "a+bc"}, {"\"\"<,>\"x\"", "a+bc"},
               {"\"a\"<,>\"aa\"", "aa+bc"}, {"\"missing\"<,>\"x\"", "aa+bc"}};
  for (const Case& c : cases) {
    CMethodCall call(engine);
    EXPECT_EQ(call.Run(*box, "Replace", c.args), 1);
    EXPECT_EQ(s->GetText(), c.text) << c.args;
    EXPECT_EQ(call.frame.m_result.GetKind(), VALUE_EMPTY);
  }
  CMethodCall upper(engine);
  upper.Run(*box, "ToUpper", "");
  EXPECT_EQ(upper.frame.m_result.GetText(), "AA+BC");
  EXPECT_EQ(s->GetText(), "aa+bc");
}

TEST(ValueSet, Methods) {
  CFakeInterpreter engine;
  engine.AddVariable("key", VALUE_STRING, "Colour");
  CValueSet set;
  set.SetInterpreter(&engine);
  CMethodCall first(engine);
  EXPECT_EQ(first.Run(set, "SetValue", "\"colour\"<,>\"red\""), 1);
  CMethodCall second(engine);
  EXPECT_EQ(second.Run(set, "setvalue", "key<,>\"blue\""), 1);
  EXPECT_EQ(set.EntryCount(), 1u);
  EXPECT_EQ(set.GetValueText("COLOUR"), "blue");
  EXPECT_EQ(set.FindEntry("colour")->GetKind(), VALUE_TEXT);

  CMethodCall get(engine);
  EXPECT_EQ(get.Run(set, "GetValue", "key"), 1);
  EXPECT_EQ(get.frame.m_result.GetText(), "blue");
  CMethodCall unknown(engine);
  EXPECT_EQ(unknown.Run(set, "GetValue", "\"size\""), 1);
  EXPECT_EQ(unknown.frame.m_result.GetText(), "");
  EXPECT_EQ(unknown.frame.m_result.GetKind(), VALUE_TEXT);

  set.SetMember("member", "kept");
  CMethodCall clear(engine);
  EXPECT_EQ(clear.Run(set, "ClearData", ""), 1);
  EXPECT_EQ(set.EntryCount(), 0u);
  EXPECT_EQ(set.Members().Count(), 1u);
  CMethodCall other(engine);
  EXPECT_EQ(other.Run(set, "Remove", ""), 0);
}

}  // namespace
