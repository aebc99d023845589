// Call frames: argument-list text, resolving and writing back arguments,
// results, parameter declarations and type names.
#include <gtest/gtest.h>

#include "script/runtime/CallFrame.h"
#include "script/runtime/ValueSet.h"
#include "tests/fakes/FakeInterpreter.h"

namespace {

struct CArg {
  int32_t kind;
  const char* text;
};

void ExpectArguments(const CCallFrame& frame, std::initializer_list<CArg> expected, const std::string& what) {
  ASSERT_EQ(frame.ArgumentCount(), static_cast<int32_t>(expected.size())) << what;
  int32_t i = 1;
  for (const CArg& e : expected) {
    EXPECT_EQ(frame.GetArgument(i)->GetKind(), e.kind) << what << " #" << i;
    EXPECT_EQ(frame.GetArgument(i)->GetText(), e.text) << what << " #" << i;
    ++i;
  }
}

TEST(TypeNames, BothDirections) {
  struct Case {
    const char* name;
    int32_t kind;
    const char* display;
  } cases[] = {{"string", VALUE_STRING, "String"}, {"INT", VALUE_INT, "Int"}, {"Double", VALUE_DOUBLE, "Double"},
               {"ivexobject", VALUE_OBJECT, "IVexObject"}, {"void", VALUE_VOID, "void"}};
  for (const Case& c : cases) {
    EXPECT_EQ(KindFromTypeName(c.name), c.kind) << c.name;
    EXPECT_EQ(TypeNameOfKind(c.kind), c.display);
  }
  EXPECT_EQ(KindFromTypeName("CValueSet"), VALUE_UNKNOWN);
  EXPECT_EQ(KindFromTypeName(""), VALUE_UNKNOWN);
  EXPECT_EQ(TypeNameOfKind(VALUE_TEXT), "");
  EXPECT_EQ(TypeNameOfKind(VALUE_REFERENCE), "");
}

TEST(CallFrame, ParseArgumentsPieces) {
  CFakeInterpreter engine;
  engine.AddVariable("count", VALUE_INT, "5");
  struct Case {
    const char* text;
    std::initializer_list<CArg> args;
  } cases[] = {
      {"(\"a b\" <,> 3|5 <,> count)", {{VALUE_STRING, "a b"}, {VALUE_INT, "5"}, {VALUE_REFERENCE, "count"}}},
      {"  ((  4|1.000000<,>2|x ))  ", {{VALUE_DOUBLE, "1.000000"}, {VALUE_STRING, "x"}}},
      {"0|abc<,>|x<,>\"\"<,>\"", {{VALUE_TEXT, "abc"}, {VALUE_TEXT, "|x"}, {VALUE_STRING, ""}, {VALUE_TEXT, "\""}}},
      {"2|a|b<,><,>7count", {{VALUE_STRING, "a|b"}, {VALUE_TEXT, ""}, {VALUE_TEXT, "7count"}}},
      {"103|count<,>50|obj", {{VALUE_REFERENCE, "count"}, {VALUE_OBJECT, "obj"}}},
      {"()", {}},
      {"   ", {}},
  };
  for (const Case& c : cases) {
    CCallFrame frame(&engine);
    EXPECT_TRUE(frame.ParseArguments(c.text));
    ExpectArguments(frame, c.args, c.text);
  }
  CCallFrame alone;
  alone.ParseArguments("(\"a b\"<,>3|5<,>count)");
  ExpectArguments(alone, {{VALUE_STRING, "a b"}, {VALUE_INT, "5"}, {VALUE_TEXT, "count"}}, "no interpreter");
}

TEST(CallFrame, ArgumentTextResolvesReferences) {
  CFakeInterpreter engine;
  engine.AddVariable("name", VALUE_STRING, "Alice");
  CCallFrame frame(&engine);
  frame.ParseArguments("name<,>\"NAME\"<,>1|name");
  EXPECT_EQ(frame.GetArgumentText(1, true), "Alice");
  EXPECT_EQ(frame.GetArgumentText(1, false), "name");
  EXPECT_EQ(frame.GetArgumentText(2, true), "NAME");
  // Only references are resolved here; untyped text is taken as it is.
  EXPECT_EQ(frame.GetArgumentText(3, true), "name");
  EXPECT_EQ(frame.GetArgumentText(4, true), "");
  EXPECT_EQ(frame.GetArgumentText(0, true), "");
  EXPECT_EQ(frame.GetArgument(-1), nullptr);
  EXPECT_LT(frame.CompareArguments(1, 2), 0);  // "Alice" before "NAME"
  EXPECT_EQ(frame.CompareArguments(2, 3), 0);
}

TEST(CallFrame, WritingBackOnlyThroughNamedArguments) {
  CFakeInterpreter engine;
  engine.AddVariable("out", VALUE_STRING, "old");
  CCallFrame frame(&engine);
  frame.ParseArguments("out<,>\"literal\"<,>5");
  frame.SetArgumentText(1, "new");
  frame.SetArgumentText(2, "ignored");
  frame.SetArgumentInt(3, 7);
  frame.SetArgumentText(9, "missing");

  CScriptVariable* first = frame.GetArgument(1);
  EXPECT_EQ(first->m_strName, "out");
  EXPECT_EQ(first->m_nFlags & VAR_OUT, VAR_OUT);
  EXPECT_EQ(first->GetText(), "new");
  CScriptVariable* literal = frame.GetArgument(2);
  EXPECT_EQ(literal->GetText(), "literal");
  EXPECT_EQ(literal->m_nFlags, 0);
  EXPECT_EQ(frame.GetArgument(3)->GetText(), "5");
  EXPECT_EQ(frame.GetArgument(3)->m_nFlags, 0);

  // A named argument is written whatever its kind.
  auto* named = new CScriptVariable();
  named->m_strName = "n";
  named->m_value.SetTypedText("1", VALUE_INT);
  frame.Arguments().Append(named);
  frame.SetArgumentInt(4, 42);
  EXPECT_EQ(named->GetText(), "42");
  EXPECT_EQ(named->m_nFlags & VAR_OUT, VAR_OUT);
}

TEST(CallFrame, Results) {
  CCallFrame fresh;
  fresh.SetResultInt(1);
  EXPECT_EQ(fresh.m_result.GetKind(), VALUE_EMPTY);
  EXPECT_EQ(fresh.m_result.GetText(), "1.000000");

  CCallFrame typed;
  typed.SetResultNumber(6, VALUE_INT);
  EXPECT_EQ(typed.m_result.GetKind(), VALUE_INT);
  EXPECT_EQ(typed.m_result.GetText(), "6");
  typed.SetResultInt(7);
  EXPECT_EQ(typed.m_result.GetText(), "7");

  CCallFrame text;
  text.SetResultText("ab");
  EXPECT_EQ(text.m_result.GetKind(), VALUE_TEXT);
  text.SetResultTyped("2.5", VALUE_DOUBLE);
  EXPECT_EQ(text.m_result.GetText(), "2.500000");

  auto* set = new CValueSet();
  CCallFrame object;
  object.SetResultObject(set);
  EXPECT_EQ(object.m_result.GetKind(), VALUE_OBJECT);
  EXPECT_EQ(set->RefCount(), 1);
}

TEST(CallFrame, PushFrontAndCopyFrom) {
  CCallFrame frame;
  CScriptValue a, b;
  a.SetTypedText("a", VALUE_STRING);
  b.SetTypedText("x", VALUE_REFERENCE);
  frame.PushFrontArgument(b);
  frame.PushFrontArgument(a);
  frame.SetResultTyped("3", VALUE_INT);
  frame.GetArgument(2)->m_strName = "x";
  frame.GetArgument(2)->m_nFlags = VAR_OUT;

  CCallFrame copy;
  copy.ParseArguments("1|stale");
  copy.CopyFrom(frame);
  ExpectArguments(copy, {{VALUE_STRING, "a"}, {VALUE_REFERENCE, "x"}}, "copy");
  EXPECT_NE(copy.GetArgument(1), frame.GetArgument(1));
  EXPECT_EQ(copy.GetArgument(2)->m_strName, "x");
  EXPECT_EQ(copy.GetArgument(2)->m_nFlags, VAR_OUT);
  EXPECT_EQ(copy.m_result.GetText(), "3");
  copy.ClearArguments();
  EXPECT_EQ(copy.ArgumentCount(), 0);
  EXPECT_EQ(frame.ArgumentCount(), 2);
}

TEST(ParameterList, Declarations) {
  CFakeInterpreter engine;
  engine.AddClass(new CValueSet());
  struct CParam {
    const char* name;
    int32_t kind;
    int32_t flags;
  };
  struct Case {
    const char* text;
    bool ok;
    std::initializer_list<CParam> params;
  } cases[] = {
      {"(out string s, CValueSet set)", true, {{"s", VALUE_STRING, VAR_OUT}, {"set", VALUE_OBJECT, 0}}},
      {"int a, double b", true, {{"a", VALUE_INT, 0}, {"b", VALUE_DOUBLE, 0}}},
      {"  OUT  IVexObject  o ", true, {{"o", VALUE_OBJECT, VAR_OUT}}},
      {"int=a", true, {{"=a", VALUE_INT, 0}}},
      {"()", true, {}},
      {"", true, {}},
      {"int a, , int b", false, {}},
      {"int a,", false, {}},
      {"widget w", false, {}},
      {"out", false, {}},
  };
  for (const Case& c : cases) {
    CVariableList list;
    auto* earlier = new CScriptVariable();
    list.Append(earlier);
    EXPECT_EQ(ParseParameterList(c.text, &engine, list), c.ok) << c.text;
    ASSERT_EQ(list.Count(), 1 + c.params.size()) << c.text;
    size_t i = 1;
    for (const CParam& p : c.params) {
      EXPECT_EQ(list.At(i)->m_strName, p.name) << c.text;
      EXPECT_EQ(list.At(i)->GetKind(), p.kind) << c.text;
      EXPECT_EQ(list.At(i)->m_nFlags, p.flags) << c.text;
      EXPECT_EQ(list.At(i)->m_value.GetAttachedObject(), nullptr);
      ++i;
    }
  }
  CVariableList list;
  EXPECT_FALSE(ParseParameterList("CValueSet set", nullptr, list));
}

}  // namespace
