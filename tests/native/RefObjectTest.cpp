// The reference-counting rule shared by values, variables and objects. Leaks
// and double releases show under the sanitizers of the native build.
#include <gtest/gtest.h>

#include "script/runtime/BoxedObjects.h"
#include "script/runtime/CallFrame.h"
#include "script/runtime/RefObject.h"
#include "script/runtime/ValueSet.h"

namespace {

int g_destroyed = 0;

class CProbe : public CScriptObject {
 public:
  ~CProbe() override { ++g_destroyed; }
};

TEST(RefObject, SingleReleaseRule) {
  g_destroyed = 0;
  auto* never = new CProbe();
  EXPECT_EQ(never->Release(), 0);
  EXPECT_EQ(g_destroyed, 1);

  auto* once = new CProbe();
  EXPECT_EQ(once->AddRef(), 1);
  EXPECT_EQ(once->Release(), 0);
  EXPECT_EQ(g_destroyed, 2);

  auto* twice = new CProbe();
  twice->AddRef();
  EXPECT_EQ(twice->AddRef(), 2);
  EXPECT_EQ(twice->Release(), 1);
  EXPECT_EQ(g_destroyed, 2);
  EXPECT_EQ(twice->Release(), 0);
  EXPECT_EQ(g_destroyed, 3);
}

TEST(RefObject, HoldersReleaseWhatTheyHold) {
  g_destroyed = 0;
  auto* object = new CProbe();
  {
    CScriptValue a, b;
    a.SetObject(object);
    b.Copy(a);
    EXPECT_EQ(object->RefCount(), 2);
    a.SetObject(object);  // the same object again keeps one reference
    EXPECT_EQ(object->RefCount(), 2);
    a.SetObject(nullptr);
    EXPECT_EQ(object->RefCount(), 1);
  }
  EXPECT_EQ(g_destroyed, 1);

  auto* member = new CProbe();
  {
    CValueSet set;
    set.SetValueText("k", "v");
    set.SetMember("m", "1");
    set.FindMember("m")->m_value.SetObject(member);
    CCallFrame frame;
    frame.SetResultObject(member);
    frame.PushFrontArgument(frame.m_result);
    EXPECT_EQ(member->RefCount(), 3);
  }
  EXPECT_EQ(g_destroyed, 2);
}

TEST(RefObject, VariableListsHoldOneReferenceEach) {
  CVariableList list;
  auto* a = new CScriptVariable();
  a->m_strName = "Alpha";
  auto* b = new CScriptVariable();
  b->m_strName = "alpha";
  list.Append(a);
  list.PushFront(b);
  EXPECT_EQ(list.Find("ALPHA"), b);  // first match wins
  a->AddRef();
  list.RemoveAt(1);
  EXPECT_EQ(a->RefCount(), 1);
  EXPECT_EQ(list.Count(), 1u);
  CVariableList other;
  other.TakeAll(list);
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(other.At(0), b);
  EXPECT_EQ(b->RefCount(), 1);
  EXPECT_EQ(a->Release(), 0);
}

TEST(RefObject, ObjectsDestroyTheirMembersAndEntries) {
  g_destroyed = 0;
  auto* set = new CValueSet();
  set->AddRef();
  set->SetValueText("inner", "x");
  set->FindEntry("inner")->m_value.SetObject(new CProbe());
  set->SetMember("member", "y");
  set->FindMember("member")->m_value.SetObject(new CProbe());
  EXPECT_EQ(set->Release(), 0);
  EXPECT_EQ(g_destroyed, 2);
}

}  // namespace
