// Script values: kinds, conversions, arithmetic on boxes, argument-list text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "script/runtime/BoxedObjects.h"
#include "script/runtime/NumberText.h"
#include "script/runtime/ScriptValue.h"

namespace {

TEST(NumberText, LenientReading) {
  struct Case {
    const char* text;
    double number;
    int32_t integer;
  } cases[] = {
      {"12", 12, 12},        {"  -3.5e2x", -350, -3},   {"7.9", 7.9, 7},        {"abc", 0, 0},
      {"", 0, 0},            {".5", 0.5, 0},            {"1e", 1, 1},           {"1e+", 1, 1},
      {"0x1f", 0, 0},        {"+4", 4, 4},              {"\t9", 9, 9},          {"99999999999", 99999999999.0, INT32_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(ReadDoubleText(c.text), c.number) << c.text;
    EXPECT_EQ(ReadIntText(c.text), c.integer) << c.text;
  }
  EXPECT_TRUE(std::isinf(ReadDoubleText(FormatDoubleText(std::numeric_limits<double>::infinity()))));
  EXPECT_TRUE(std::isnan(ReadDoubleText(FormatDoubleText(std::nan("")))));
}

TEST(NumberText, WrittenForms) {
  EXPECT_EQ(FormatIntText(-42), "-42");
  EXPECT_EQ(FormatDoubleText(2.5), "2.500000");
  EXPECT_EQ(FormatDoubleText(0.0000001), "0.000000");
  EXPECT_EQ(FormatDoubleText(1e20), "100000000000000000000.000000");
  EXPECT_EQ(FormatDoubleText(1e300).size(), 301u + 7u);
}

TEST(NumberText, TruncationNeverOverflows) {
  EXPECT_EQ(TruncToInt32(-2.9), -2);
  EXPECT_EQ(TruncToInt32(1e12), INT32_MAX);
  EXPECT_EQ(TruncToInt32(-1e12), INT32_MIN);
  EXPECT_EQ(TruncToInt32(std::nan("")), 0);
  EXPECT_EQ(TruncToInt32(std::numeric_limits<double>::infinity()), INT32_MAX);
  EXPECT_EQ(WrapAdd(INT32_MAX, 1), INT32_MIN);
  int32_t r = 5;
  EXPECT_FALSE(IntRemainder(7, 0, r));
  EXPECT_EQ(r, 5);
  EXPECT_TRUE(IntRemainder(INT32_MIN, -1, r));
  EXPECT_EQ(r, 0);
  EXPECT_TRUE(IntRemainder(-7, 3, r));
  EXPECT_EQ(r, -1);
}

TEST(ScriptValue, SetTextMakesEmptyValuesUntyped) {
  CScriptValue v;
  v.SetText("12");
  EXPECT_EQ(v.GetKind(), VALUE_TEXT);
  EXPECT_EQ(v.GetInt(), 12);
  EXPECT_TRUE(v.IsNumeric());
  EXPECT_EQ(v.GetAttachedObject(), nullptr);

  CScriptValue typed;
  typed.SetKind(VALUE_INT);
  typed.SetText("5.7");
  EXPECT_EQ(typed.GetKind(), VALUE_INT);
  EXPECT_EQ(typed.GetText(), "5");
}

TEST(ScriptValue, TypedTextFillsTheBox) {
  struct Case {
    const char* text;
    int32_t kind;
    const char* shown;
    int32_t integer;
    double number;
  } cases[] = {
      {"7.9", VALUE_INT, "7", 7, 7.0},
      {"7.9", VALUE_DOUBLE, "7.900000", 7, 7.9},
      {"abc", VALUE_STRING, "abc", 0, 0.0},
      {" 12x", VALUE_TEXT, " 12x", 12, 12.0},
      {"x", VALUE_REFERENCE, "x", 0, 0.0},
  };
  for (const Case& c : cases) {
    CScriptValue v;
    v.SetTypedText(c.text, c.kind);
    EXPECT_EQ(v.GetKind(), c.kind) << c.text;
    EXPECT_EQ(v.GetText(), c.shown) << c.text;
    EXPECT_EQ(v.GetInt(), c.integer) << c.text;
    EXPECT_DOUBLE_EQ(v.GetDouble(), c.number) << c.text;
    EXPECT_EQ(v.GetStoredText(), c.text);
    bool boxed = c.kind == VALUE_INT || c.kind == VALUE_DOUBLE || c.kind == VALUE_STRING;
    EXPECT_EQ(v.GetAttachedObject() != nullptr, boxed) << c.text;
    if (boxed) {
      EXPECT_EQ(v.GetAttachedObject()->BoxKind(), c.kind);
    }
  }
}

TEST(ScriptValue, SetNumberByKind) {
  struct Case {
    int32_t kind;
    double number;
    const char* shown;
    const char* stored;
  } cases[] = {
      {VALUE_EMPTY, 1.5, "1.500000", "1.500000"},
      {VALUE_TEXT, -2, "-2.000000", "-2.000000"},
      {VALUE_INT, -7.9, "-7", "old"},
      {VALUE_DOUBLE, 0.25, "0.250000", "old"},
      {VALUE_STRING, 3, "3.000000", "old"},
  };
  for (const Case& c : cases) {
    CScriptValue v;
    v.SetTypedText("old", c.kind);
    v.SetKind(c.kind);
    v.SetNumber(c.number);
    EXPECT_EQ(v.GetKind(), c.kind);
    EXPECT_EQ(v.GetText(), c.shown) << c.kind;
    EXPECT_EQ(v.GetStoredText(), c.stored) << c.kind;
  }
}

TEST(ScriptValue, EqualsGoesByTheLeftKind) {
  struct Case {
    int32_t leftKind;
    const char* left;
    int32_t rightKind;
    const char* right;
    bool equal;
  } cases[] = {
      {VALUE_INT, "3", VALUE_DOUBLE, "3.7", true},    {VALUE_DOUBLE, "3", VALUE_DOUBLE, "3.7", false},
      {VALUE_DOUBLE, "3", VALUE_INT, "3", true},      {VALUE_STRING, "Ab", VALUE_STRING, "ab", false},
      {VALUE_STRING, "ab", VALUE_TEXT, "ab", true},   {VALUE_TEXT, "12", VALUE_TEXT, "12", false},
      {VALUE_OBJECT, "", VALUE_OBJECT, "", false},
  };
  for (const Case& c : cases) {
    CScriptValue a, b;
    a.SetTypedText(c.left, c.leftKind);
    b.SetTypedText(c.right, c.rightKind);
    EXPECT_EQ(a.Equals(b), c.equal) << c.left << " / " << c.right;
  }
}

TEST(ScriptValue, CopyGivesBoxedKindsTheirOwnBox) {
  struct Case {
    int32_t kind;
    const char* source;
    const char* copy;
  } cases[] = {{VALUE_STRING, "4", "44"}, {VALUE_INT, "4", "9"}, {VALUE_DOUBLE, "4.000000", "9.000000"}};
  for (const Case& c : cases) {
    CScriptValue source, copy;
    source.SetTypedText("4", c.kind);
    copy.Copy(source);
    EXPECT_EQ(copy.GetKind(), c.kind);
    EXPECT_NE(copy.GetAttachedObject(), source.GetAttachedObject());
    copy.AddInteger(1);
    copy.Add(source);
    EXPECT_EQ(copy.GetText(), c.copy);
    EXPECT_EQ(source.GetText(), c.source) << c.kind;
  }
  auto* object = new CScriptObject();
  CScriptValue holder, sharer;
  holder.SetObject(object);
  sharer.Copy(holder);
  EXPECT_EQ(sharer.GetAttachedObject(), object);
  EXPECT_EQ(object->RefCount(), 2);
  holder.Clear();
  EXPECT_EQ(object->RefCount(), 1);
  EXPECT_EQ(holder.GetKind(), VALUE_EMPTY);
}

TEST(ScriptValue, AssignConvertedKeepsTheOwnKind) {
  struct Case {
    int32_t ownKind;
    int32_t otherKind;
    const char* other;
    int32_t kind;
    const char* shown;
  } cases[] = {
      {VALUE_INT, VALUE_DOUBLE, "2.9", VALUE_INT, "2"},
      {VALUE_DOUBLE, VALUE_STRING, "1.5x", VALUE_DOUBLE, "1.500000"},
      {VALUE_STRING, VALUE_INT, "7", VALUE_STRING, "7"},
      {VALUE_EMPTY, VALUE_DOUBLE, "2", VALUE_DOUBLE, "2.000000"},
      {VALUE_TEXT, VALUE_DOUBLE, "2", VALUE_TEXT, "2.000000"},
  };
  for (const Case& c : cases) {
    CScriptValue own, other;
    own.SetKind(c.ownKind);
    other.SetTypedText(c.other, c.otherKind);
    own.AssignConverted(other);
    EXPECT_EQ(own.GetKind(), c.kind) << c.other;
    EXPECT_EQ(own.GetText(), c.shown) << c.other;
  }
}

TEST(ScriptValue, UntypedTextDropsASharedBoxWhenGivenText) {
  // A text variable that took a number shares the number's box; a later text
  // must be what it holds.
  CScriptValue number, text;
  number.SetTypedText("1", VALUE_DOUBLE);
  text.SetText("start");
  text.AssignConverted(number);
  EXPECT_EQ(text.GetText(), "1.000000");
  text.SetText("2");
  EXPECT_EQ(text.GetText(), "2");
  EXPECT_EQ(text.GetAttachedObject(), nullptr);
  EXPECT_EQ(number.GetText(), "1.000000");
}

TEST(ScriptValue, ArithmeticOnBoxes) {
  enum Op { kAdd, kAddInteger, kMultiply, kDivide, kRemainder };
  struct Case {
    int32_t kind;
    const char* start;
    Op op;
    double arg;
    const char* shown;
  } cases[] = {
      {VALUE_INT, "5", kAdd, 2.9, "7"},
      {VALUE_DOUBLE, "5", kAdd, 2.5, "7.500000"},
      {VALUE_STRING, "ab", kAdd, 1, "ab1.000000"},
      {VALUE_TEXT, "5", kAdd, 1, "5"},
      {VALUE_INT, "2147483647", kAddInteger, 1, "-2147483648"},
      {VALUE_DOUBLE, "1.5", kAddInteger, -2, "-0.500000"},
      {VALUE_STRING, "x", kAddInteger, 1, "x"},
      {VALUE_INT, "3", kMultiply, 2.5, "7"},
      {VALUE_INT, "-3", kMultiply, 2.5, "-7"},
      {VALUE_DOUBLE, "3", kMultiply, 2.5, "7.500000"},
      {VALUE_INT, "7", kDivide, 2, "3"},
      {VALUE_INT, "7", kDivide, 0, "2147483647"},
      {VALUE_INT, "-7", kDivide, 0, "-2147483648"},
      {VALUE_INT, "0", kDivide, 0, "0"},
      {VALUE_DOUBLE, "7", kDivide, 2, "3.500000"},
      {VALUE_INT, "-7", kRemainder, 3, "-1"},
      {VALUE_DOUBLE, "7.9", kRemainder, 3, "1.000000"},
      {VALUE_INT, "7", kRemainder, 0, "7"},
      {VALUE_DOUBLE, "7.5", kRemainder, 0, "7.500000"},
      {VALUE_INT, "-2147483648", kRemainder, -1, "0"},
  };
  for (const Case& c : cases) {
    CScriptValue v;
    v.SetTypedText(c.start, c.kind);
    CScriptValue arg;
    arg.SetTypedText(FormatDoubleText(c.arg), VALUE_DOUBLE);
    switch (c.op) {
      case kAdd: v.Add(arg); break;
      case kAddInteger: v.AddInteger(static_cast<int32_t>(c.arg)); break;
      case kMultiply: v.MultiplyBy(c.arg); break;
      case kDivide: v.DivideBy(c.arg); break;
      case kRemainder: v.RemainderBy(static_cast<int32_t>(c.arg)); break;
    }
    EXPECT_EQ(v.GetText(), c.shown) << c.start << " op " << c.op << " " << c.arg;
    EXPECT_EQ(v.GetKind(), c.kind);
  }
}

TEST(ScriptValue, OperationsCreateAMissingBoxHoldingZero) {
  CScriptValue v;
  v.SetText("9");
  v.SetKind(VALUE_INT);
  v.AddInteger(2);
  EXPECT_EQ(v.GetText(), "2");
  CScriptValue s;
  s.SetText("ab");
  s.SetKind(VALUE_STRING);
  s.Add(v);
  EXPECT_EQ(s.GetText(), "ab2");
  EXPECT_EQ(s.GetAttachedObject(), nullptr);
}

TEST(ScriptValue, AppendToListPutsNewItemsInFront) {
  CScriptValue list, one, x;
  one.SetTypedText("1.000000", VALUE_DOUBLE);
  x.SetTypedText("x", VALUE_STRING);
  list.AppendToList(one);
  EXPECT_EQ(list.GetStoredText(), "4|1.000000");
  list.AppendToList(x);
  EXPECT_EQ(list.GetStoredText(), "2|x<,>4|1.000000");
}

TEST(ScriptValue, MovingHandsOverTheBox) {
  CScriptValue a;
  a.SetTypedText("3", VALUE_INT);
  CScriptObject* box = a.GetAttachedObject();
  CScriptValue b(std::move(a));
  EXPECT_EQ(b.GetAttachedObject(), box);
  EXPECT_EQ(box->RefCount(), 1);
  EXPECT_EQ(a.GetKind(), VALUE_EMPTY);
  EXPECT_EQ(a.GetAttachedObject(), nullptr);
  CScriptValue c;
  c.SetTypedText("x", VALUE_STRING);
  c = std::move(b);
  EXPECT_EQ(c.GetText(), "3");
}

}  // namespace
