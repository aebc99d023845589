#include "script/runtime/ExprEvaluator.h"

#include <cmath>
#include <utility>

#include "script/runtime/CallFrame.h"
#include "script/runtime/ExprResolver.h"
#include "script/runtime/NumberText.h"
#include "script/runtime/ScriptObject.h"

const char* const CExprEvaluator::kFunctionNames[kFunctionCount] = {
    "sin", "cos",  "tan",   "acos", "asin", "atan", "rad", "deg",   "gon", "pow", "sqr",
    "sqrt", "exp", "log", "log10", "cube", "abs",  "int", "fract", "fak", "fix"};

namespace {

// Ranks (smaller binds tighter) are spaced by ten so that "^" has a level of
// its own: tighter than "+" and "-", looser than "*", "/" and "%".
constexpr int32_t kRankTight = 10;  // "*", "/", "%", compound assignments, unary, "&", "|"
constexpr int32_t kRankXor = 15;
constexpr int32_t kRankAdd = 20;
constexpr int32_t kRankCompare = 30;
constexpr int32_t kRankLogical = 40;
constexpr int32_t kRankAssign = 50;
constexpr int32_t kRankList = 60;  // "(" and ","; also the limit that reduces everything
constexpr int32_t kRankFunction = 100000;

enum : int32_t {
  kOpAdd = 1,
  kOpSubtract,
  kOpMultiply,
  kOpDivide,
  kOpRemainder,
  kOpXor,
  kOpCompound,  // "+=" and the like: parsed, never applied
  kOpNot,
  kOpComplement,
  kOpNegate,
  kOpOpen,
  kOpComma,
  kOpBitAnd,
  kOpBitOr,
  kOpEqual,
  kOpNotEqual,
  kOpLess,
  kOpLessEqual,
  kOpGreater,
  kOpGreaterEqual,
  kOpAnd,
  kOpOr,
  kOpAssign,  // "=": parsed, never applied
  kOpCall,
  kOpFunction = 100,  // + the index in kFunctionNames
};

enum : int32_t {
  kFnSin,
  kFnCos,
  kFnTan,
  kFnAcos,
  kFnAsin,
  kFnAtan,
  kFnRad,
  kFnDeg,
  kFnGon,
  kFnPow,
  kFnSqr,
  kFnSqrt,
  kFnExp,
  kFnLog,
  kFnLog10,
  kFnCube,
  kFnAbs,
  kFnInt,
  kFnFract,
  kFnFak,
  kFnFix,
};

constexpr double kPi = 3.14159265358979323846;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}
bool IsNameChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || IsDigit(c) || c == '_' || c == '@' || c == '[' ||
         c == ']' || u >= 128;
}

// The operator words and function names are ASCII: compared with ASCII
// letters folded, without building strings.
bool SameWordNoCase(const std::string& text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char a = text[i], b = word[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

bool OwnsNumberBox(const CScriptValue& v) {
  const CScriptObject* box = v.GetAttachedObject();
  return box && box->BoxKind() == VALUE_DOUBLE && box->RefCount() == 1;
}

bool IsNumericKind(const CScriptValue& v) { return v.IsNumeric(); }
bool IsNumericOrString(const CScriptValue& v) { return v.IsNumeric() || v.GetKind() == VALUE_STRING; }

// A literal keeps six decimals, as its "%f" text would: 0.0000001 is 0.
double KeepSixDecimals(double v) {
  if (!std::isfinite(v) || v == std::trunc(v)) return v;
  return ReadDoubleText(FormatDoubleText(v));
}

// Equality of "==", "!=" and "<>", by the left operand's kind. Untyped text
// has no kind of its own to compare by, so it takes the other side's (and two
// untyped texts compare as texts); otherwise a value from SetResultText or a
// text variable could never equal anything.
bool OperandsEqual(const CScriptValue& left, const CScriptValue& right) {
  if (left.GetKind() == VALUE_TEXT) {
    if (right.GetKind() == VALUE_TEXT) return left.GetText() == right.GetText();
    return right.Equals(left);
  }
  return left.Equals(right);
}

// The decimal integer of the value's current text is not 0. A box holding a
// number answers without writing its text, where the text's six decimals
// cannot round the integer part up.
bool ConditionHolds(const CScriptValue& value) {
  const CScriptObject* box = value.GetAttachedObject();
  if (box && box->BoxKind() == VALUE_INT) return box->ToInt() != 0;
  if (box && box->BoxKind() == VALUE_DOUBLE) {
    double d = box->ToDouble();
    if (std::isfinite(d) && std::fabs(d - std::trunc(d)) < 0.999999) return TruncToInt32(d) != 0;
  }
  return ReadIntText(value.GetText()) != 0;
}

double Factorial(double x) {
  double result = 1.0;
  // Once the product is infinite it stays so; stopping there also bounds the
  // loop for factors so large that subtracting 1 no longer changes them.
  for (double factor = x; factor > 0 && !std::isinf(result); factor -= 1.0) result *= factor;
  return result;
}

// Evaluations follow one another by the million in a script loop, each with
// two small stacks: the storage of a finished evaluator goes to the next one
// instead of back to the heap. Nested evaluations take further stacks. The
// store serves the program's one thread.
struct CStackStore {
  std::vector<std::vector<CScriptValue>> operands;
  std::vector<std::vector<CExprOperator>> operators;
  ~CStackStore();
};
bool g_bStoreGone = false;
CStackStore::~CStackStore() { g_bStoreGone = true; }

// Null once the store has been destroyed at exit (evaluations after that
// allocate as usual).
CStackStore* Store() {
  if (g_bStoreGone) return nullptr;
  static CStackStore store;
  return &store;
}

constexpr size_t kKeptStacks = 16;
constexpr size_t kKeptCapacity = 256;

template <class T>
void TakeStack(std::vector<std::vector<T>>& kept, std::vector<T>& stack) {
  if (kept.empty()) return;
  stack.swap(kept.back());
  kept.pop_back();
}

template <class T>
void KeepStack(std::vector<std::vector<T>>& kept, std::vector<T>& stack) {
  stack.clear();
  if (stack.capacity() == 0 || stack.capacity() > kKeptCapacity || kept.size() >= kKeptStacks) return;
  kept.push_back(std::move(stack));
}

}  // namespace

CExprEvaluator::CExprEvaluator() : CExprEvaluator(nullptr) {}

CExprEvaluator::CExprEvaluator(IExprResolver* resolver) : m_pResolver(resolver) {
  if (CStackStore* store = Store()) {
    TakeStack(store->operands, m_stackOperand);
    TakeStack(store->operators, m_stackOperator);
  }
}

CExprEvaluator::~CExprEvaluator() {
  // Operands are released here, before their storage is handed on.
  m_stackOperand.clear();
  m_stackOperator.clear();
  if (CStackStore* store = Store()) {
    KeepStack(store->operands, m_stackOperand);
    KeepStack(store->operators, m_stackOperator);
  }
}

// ---- entry points

bool CExprEvaluator::Evaluate(const std::string& text, CScriptValue& value) {
  if (text.empty()) return false;
  if (!Parse(text) || m_stackOperand.empty()) return false;
  CScriptValue& top = m_stackOperand.back();
  // A reference that names no variable has no value to give.
  if (!ResolveInPlace(top)) {
    Fail();
    return false;
  }
  value.Copy(top);
  return true;
}

bool CExprEvaluator::EvaluateCondition(const std::string& text) {
  if (text.empty()) return false;
  if (!Parse(text) || m_stackOperand.empty()) return false;
  CScriptValue& top = m_stackOperand.back();
  if (!ResolveInPlace(top)) {
    Fail();
    return false;
  }
  // The current text, so a boxed number counts by its box.
  return ConditionHolds(top);
}

bool CExprEvaluator::EvaluateArguments(const std::string& text, CCallFrame& frame) {
  if (text.empty()) return true;
  if (!Parse(text)) return false;
  if (!m_stackOperand.empty() && m_stackOperand.back().GetKind() == VALUE_ARGLIST) {
    frame.ParseArguments(m_stackOperand.back().GetStoredText());
    return true;
  }
  // Every operand goes in front of the frame's arguments, in source order:
  // the same as putting each one popped in front, without moving the list
  // for each.
  CVariableList ordered;
  for (const CScriptValue& operand : m_stackOperand) {
    auto* argument = new CScriptVariable();
    argument->m_value.Copy(operand);
    ordered.Append(argument);
  }
  m_stackOperand.clear();
  ordered.TakeAll(frame.Arguments());
  frame.Arguments().TakeAll(ordered);
  return true;
}

// ---- parse

bool CExprEvaluator::Parse(const std::string& text) {
  m_text = text;
  m_nPos = 0;
  m_nState = 0;
  m_stackOperand.reserve(8);
  m_stackOperator.reserve(8);
  CToken token;
  while (NextToken(token)) {
    if (m_nError) return false;
    switch (token.kind) {
      case VALUE_DOUBLE:
        PushNumber(token.number);
        break;
      case VALUE_REFERENCE:
      case VALUE_STRING: {
        CScriptValue operand;
        operand.SetUnboxedText(token.text, token.kind);
        PushOperand(std::move(operand));
        break;
      }
      case VALUE_OPERATOR:
        HandleOperatorToken(token.text);
        break;
      default:
        break;
    }
    if (m_nError) return false;
  }
  if (m_nError) return false;
  Reduce(kRankList);
  m_text = std::string_view();
  return m_nError == 0;
}

void CExprEvaluator::HandleOperatorToken(const std::string& text) {
  struct CComparison {
    std::string_view text;
    int32_t code;
    int32_t rank;
  };
  static const CComparison kComparisons[] = {
      {"AND", kOpAnd, kRankLogical},        {"OR", kOpOr, kRankLogical},        {"&&", kOpAnd, kRankLogical},
      {"||", kOpOr, kRankLogical},          {"==", kOpEqual, kRankCompare},     {">=", kOpGreaterEqual, kRankCompare},
      {">", kOpGreater, kRankCompare},      {"<=", kOpLessEqual, kRankCompare}, {"<", kOpLess, kRankCompare},
      {"!=", kOpNotEqual, kRankCompare},    {"<>", kOpNotEqual, kRankCompare},  {"=", kOpAssign, kRankAssign},
  };
  struct CSimple {
    std::string_view text;
    int32_t opClass;
    int32_t code;
    int32_t rank;
  };
  static const CSimple kSimple[] = {
      {"+", 1, kOpAdd, kRankAdd},           {"*", 1, kOpMultiply, kRankTight},  {"/", 1, kOpDivide, kRankTight},
      {"%", 1, kOpRemainder, kRankTight},   {"^", 1, kOpXor, kRankXor},         {"+=", 1, kOpCompound, kRankTight},
      {"-=", 1, kOpCompound, kRankTight},   {"*=", 1, kOpCompound, kRankTight}, {"%=", 1, kOpCompound, kRankTight},
      {"/=", 1, kOpCompound, kRankTight},   {"&", 5, kOpBitAnd, kRankTight},    {"|", 5, kOpBitOr, kRankTight},
      {"!", 2, kOpNot, kRankTight},         {"~", 2, kOpComplement, kRankTight},
  };

  if (text == ")") {
    CloseParenthesis();
    return;
  }
  if (text == "(") {
    if (m_nState == 1) {
      Fail();
      return;
    }
    PushOperator(4, kOpOpen, kRankList, text);
    return;
  }
  if (text == ",") {
    if (m_nState != 1) {
      Fail(text);
      return;
    }
    Reduce(kRankList);
    if (!m_nError) PushOperator(4, kOpComma, kRankList, text);
    return;
  }
  for (const CComparison& c : kComparisons) {
    if (!SameWordNoCase(text, c.text)) continue;
    if (m_nState != 1) {
      Fail(text);
      return;
    }
    Reduce(c.rank);
    if (!m_nError) PushOperator(6, c.code, c.rank, text);
    return;
  }
  for (const CSimple& s : kSimple) {
    if (std::string_view(text) == s.text) {
      PushOperator(s.opClass, s.code, s.rank, text);
      return;
    }
  }
  if (text == "-") {
    if (m_nState == 1) {
      PushOperator(1, kOpSubtract, kRankAdd, text);
    } else {
      PushOperator(2, kOpNegate, kRankTight, text);
    }
    return;
  }
  if (text == "++") {
    PlusPlus();
    return;
  }
  for (int32_t i = 0; i < kFunctionCount; ++i) {
    if (!SameWordNoCase(text, kFunctionNames[i])) continue;
    PushOperator(3, kOpFunction + i, kRankFunction, text);
    if (NextNonBlank() != '(') Fail();
    return;
  }
  // Any other name is a call; a character that starts no token gives an
  // empty name, which is no call either.
  if (text.empty()) {
    Fail();
    return;
  }
  PushOperator(7, kOpCall, kRankFunction, text);
  if (NextNonBlank() != '(') Fail(text);
}

void CExprEvaluator::CloseParenthesis() {
  if (!m_stackOperator.empty() && m_stackOperator.back().m_nCode == kOpOpen) {
    m_stackOperator.pop_back();
    // A function with nothing between its parentheses gets an empty list.
    if (!m_stackOperator.empty() && m_nState == 2 &&
        (m_stackOperator.back().m_nClass == 3 || m_stackOperator.back().m_nClass == 7)) {
      CScriptValue list;
      list.SetUnboxedText(std::string(), VALUE_ARGLIST);
      m_stackOperand.push_back(std::move(list));
    }
  } else {
    Reduce(kRankList);
    if (m_nError) return;
    if (!m_stackOperator.empty() && m_stackOperator.back().m_nCode == kOpComma) {
      BuildArgumentList();
      if (m_nError) return;
    }
    if (m_stackOperator.empty() || m_stackOperator.back().m_nCode != kOpOpen) {
      Fail();
      return;
    }
    m_stackOperator.pop_back();
  }
  if (!m_stackOperator.empty() && (m_stackOperator.back().m_nClass == 3 || m_stackOperator.back().m_nClass == 7)) {
    if (ApplyTop() == Applied::kFailed) return;
  }
  // Whatever stood inside, the parser is now after an operand.
  m_nState = 1;
  ApplyRankOne();
}

void CExprEvaluator::BuildArgumentList() {
  // The commas on top of the operator stack and one operand more than them
  // make the list; it is written once, in source order, which is what adding
  // each popped operand to the front would give.
  size_t commas = 0;
  while (commas < m_stackOperator.size() &&
         m_stackOperator[m_stackOperator.size() - 1 - commas].m_nCode == kOpComma) {
    ++commas;
  }
  if (m_stackOperand.size() < commas + 1) {
    Fail();
    return;
  }
  size_t first = m_stackOperand.size() - (commas + 1);
  std::string text;
  for (size_t i = first; i < m_stackOperand.size(); ++i) {
    if (i > first) text += kArgListSeparator;
    text += FormatIntText(m_stackOperand[i].GetKind());
    text += '|';
    text += m_stackOperand[i].GetText();
  }
  m_stackOperand.erase(m_stackOperand.begin() + static_cast<std::ptrdiff_t>(first), m_stackOperand.end());
  m_stackOperator.resize(m_stackOperator.size() - commas);
  CScriptValue list;
  list.SetUnboxedText(text, VALUE_ARGLIST);
  m_stackOperand.push_back(std::move(list));
}

void CExprEvaluator::PlusPlus() {
  // The operand's value plus one; the variable itself is not changed.
  CScriptValue operand;
  if (!PopResolved(operand)) return;
  if (!operand.IsNumeric()) {
    Fail();
    return;
  }
  double next = operand.GetDouble() + 1.0;
  operand.SetDouble(next);
  PushOperand(std::move(operand));
}

// ---- stacks

void CExprEvaluator::PushOperand(CScriptValue&& value) {
  m_stackOperand.push_back(std::move(value));
  m_nState = 1;
  ApplyRankOne();
}

void CExprEvaluator::PushNumber(double d) {
  CScriptValue number;
  number.SetDouble(d);
  PushOperand(std::move(number));
}

void CExprEvaluator::PushOperator(int32_t opClass, int32_t code, int32_t rank, const std::string& text) {
  // A binary operator looser than the tightest first applies a pending
  // binary operator that binds at least as tight, so that operators of one
  // level associate to the left.
  if (opClass == 1 && rank != kRankTight && !m_stackOperator.empty() && m_stackOperator.back().m_nClass == 1 &&
      m_stackOperator.back().m_nRank <= rank) {
    if (ApplyTop() == Applied::kFailed) return;
  }
  CExprOperator op;
  op.m_nClass = opClass;
  op.m_strText = text;
  op.m_nCode = code;
  op.m_nRank = rank;
  m_stackOperator.push_back(std::move(op));
  m_nState = 2;
}

void CExprEvaluator::ApplyRankOne() {
  while (!m_nError && !m_stackOperator.empty() && m_stackOperator.back().m_nRank == kRankTight) {
    if (ApplyTop() != Applied::kDone) break;
  }
}

void CExprEvaluator::Reduce(int32_t limit) {
  while (!m_nError && !m_stackOperator.empty()) {
    if (limit > 0 && m_stackOperator.back().m_nRank > limit) break;
    if (ApplyTop() != Applied::kDone) break;
  }
}

bool CExprEvaluator::PopOperand(CScriptValue& value) {
  if (m_stackOperand.empty()) {
    Fail();
    return false;
  }
  value = std::move(m_stackOperand.back());
  m_stackOperand.pop_back();
  return true;
}

bool CExprEvaluator::ResolveInPlace(CScriptValue& value) {
  if (value.GetKind() != VALUE_REFERENCE) return true;
  if (!m_pResolver) return false;
  m_strScratch = value.GetStoredText();
  if (m_pResolver->Resolve(m_strScratch, value)) return true;
  value.SetUnboxedText(m_strScratch, VALUE_REFERENCE);
  return false;
}

bool CExprEvaluator::PopResolved(CScriptValue& value) {
  if (!PopOperand(value)) return false;
  // A reference nobody knows stays a reference and fails the kind checks.
  ResolveInPlace(value);
  return true;
}

void CExprEvaluator::Fail() { m_nError = 1; }

void CExprEvaluator::Fail(const std::string& word) {
  if (!m_nError) m_strErrorWord = word;
  m_nError = 1;
}

// ---- applying operators

CExprEvaluator::Applied CExprEvaluator::ApplyTop() {
  if (m_stackOperator.empty()) return Applied::kNotApplicable;
  const CExprOperator& op = m_stackOperator.back();
  switch (op.m_nClass) {
    case 4:
      return Applied::kNotApplicable;
    case 7:
      return ApplyCall();
    case 3:
      return ApplyFunction(op.m_nCode - kOpFunction);
    case 2:
      return ApplyUnary(op.m_nCode);
    default:
      if (op.m_nCode == kOpCompound || op.m_nCode == kOpAssign) return Applied::kNotApplicable;
      return ApplyBinary(op.m_nCode);
  }
}

CExprEvaluator::Applied CExprEvaluator::ApplyUnary(int32_t code) {
  m_stackOperator.pop_back();
  CScriptValue operand;
  if (!PopResolved(operand)) return Applied::kFailed;
  double x = operand.GetDouble();
  double result = 0.0;
  switch (code) {
    case kOpNot:
      result = x == 0.0 ? 1.0 : 0.0;
      break;
    case kOpNegate:
      result = -x;
      break;
    default:  // kOpComplement
      result = ~TruncToInt32(x);
      break;
  }
  operand.SetDouble(result);
  m_stackOperand.push_back(std::move(operand));
  return Applied::kDone;
}

CExprEvaluator::Applied CExprEvaluator::ApplyBinary(int32_t code) {
  m_stackOperator.pop_back();
  CScriptValue right, left;
  if (!PopResolved(right) || !PopResolved(left)) return Applied::kFailed;

  bool numeric = IsNumericKind(left) && IsNumericKind(right);
  bool comparable = IsNumericOrString(left) && IsNumericOrString(right);
  bool accepted = false;
  switch (code) {
    case kOpAdd:
    case kOpEqual:
    case kOpNotEqual:
      accepted = comparable;
      break;
    case kOpBitAnd:
    case kOpBitOr:
      accepted = true;
      break;
    default:
      accepted = numeric;
      break;
  }
  if (!accepted) {
    Fail();
    return Applied::kFailed;
  }

  if (code == kOpAdd) {
    if (left.GetKind() == VALUE_TEXT) {
      // Untyped text takes its meaning from the other side: it joins a
      // string and adds to anything else as a number.
      if (right.GetKind() == VALUE_STRING) {
        left.SetUnboxedText(left.GetText() + right.GetText(), VALUE_STRING);
      } else {
        left.SetDouble(left.GetDouble() + right.GetDouble());
      }
    } else {
      left.Add(right);
    }
    m_stackOperand.push_back(std::move(left));
    return Applied::kDone;
  }

  double result = 0.0;
  switch (code) {
    case kOpSubtract:
      result = left.GetDouble() - right.GetDouble();
      break;
    case kOpMultiply:
      result = left.GetDouble() * right.GetDouble();
      break;
    case kOpDivide:
      result = left.GetDouble() / right.GetDouble();
      break;
    case kOpRemainder: {
      // A remainder by 0 has no value: an error, like any other operand the
      // operator cannot take.
      int32_t remainder = 0;
      if (!IntRemainder(TruncToInt32(left.GetDouble()), TruncToInt32(right.GetDouble()), remainder)) {
        Fail();
        return Applied::kFailed;
      }
      result = remainder;
      break;
    }
    case kOpXor:
      result = TruncToInt32(left.GetDouble()) ^ TruncToInt32(right.GetDouble());
      break;
    case kOpBitAnd:
      result = TruncToInt32(left.GetDouble()) & TruncToInt32(right.GetDouble());
      break;
    case kOpBitOr:
      result = TruncToInt32(left.GetDouble()) | TruncToInt32(right.GetDouble());
      break;
    case kOpEqual:
      result = OperandsEqual(left, right) ? 1.0 : 0.0;
      break;
    case kOpNotEqual:
      result = OperandsEqual(left, right) ? 0.0 : 1.0;
      break;
    case kOpLess:
      result = left.GetDouble() < right.GetDouble() ? 1.0 : 0.0;
      break;
    case kOpLessEqual:
      result = left.GetDouble() <= right.GetDouble() ? 1.0 : 0.0;
      break;
    case kOpGreater:
      result = left.GetDouble() > right.GetDouble() ? 1.0 : 0.0;
      break;
    case kOpGreaterEqual:
      result = left.GetDouble() >= right.GetDouble() ? 1.0 : 0.0;
      break;
    case kOpAnd:
      result = (left.GetDouble() != 0.0 && right.GetDouble() != 0.0) ? 1.0 : 0.0;
      break;
    case kOpOr:
      result = (left.GetDouble() != 0.0 || right.GetDouble() != 0.0) ? 1.0 : 0.0;
      break;
    default:
      Fail();
      return Applied::kFailed;
  }
  // The result goes into whichever operand has a number box of its own.
  CScriptValue& target = (OwnsNumberBox(left) || !OwnsNumberBox(right)) ? left : right;
  target.SetDouble(result);
  m_stackOperand.push_back(std::move(target));
  return Applied::kDone;
}

CExprEvaluator::Applied CExprEvaluator::ApplyFunction(int32_t index) {
  if (index == kFnPow) return ApplyPow();
  m_stackOperator.pop_back();
  CScriptValue operand;
  if (!PopResolved(operand)) return Applied::kFailed;
  if (!operand.IsNumeric()) {
    Fail();
    return Applied::kFailed;
  }
  double x = operand.GetDouble();
  double result = 0.0;
  switch (index) {
    case kFnSin: result = std::sin(x); break;
    case kFnCos: result = std::cos(x); break;
    case kFnTan: result = std::tan(x); break;
    case kFnAcos: result = std::acos(x); break;
    case kFnAsin: result = std::asin(x); break;
    case kFnAtan: result = std::atan(x); break;
    // Angles are radians; rad and gon take degrees and grads into radians,
    // deg takes radians into degrees.
    case kFnRad: result = x * kPi / 180.0; break;
    case kFnDeg: result = x * 180.0 / kPi; break;
    case kFnGon: result = x * kPi / 200.0; break;
    case kFnSqr: result = x * x; break;
    case kFnSqrt: result = std::sqrt(x); break;
    case kFnExp: result = std::exp(x); break;
    case kFnLog: result = std::log(x); break;
    case kFnLog10: result = std::log10(x); break;
    case kFnCube: result = x * x * x; break;
    case kFnAbs: result = std::fabs(x); break;
    case kFnInt: result = std::trunc(x); break;
    case kFnFract: result = x - std::trunc(x); break;
    case kFnFak: result = Factorial(x); break;
    // fix keeps no decimals: the nearest integer, halves away from zero.
    case kFnFix: result = std::round(x); break;
    default: break;
  }
  operand.SetDouble(result);
  m_stackOperand.push_back(std::move(operand));
  return Applied::kDone;
}

CExprEvaluator::Applied CExprEvaluator::ApplyPow() {
  m_stackOperator.pop_back();
  CScriptValue list;
  if (!PopOperand(list)) return Applied::kFailed;
  CCallFrame frame;
  frame.ParseArguments(list.GetText());
  if (frame.ArgumentCount() < 2) {
    Fail();
    return Applied::kFailed;
  }
  double operands[2] = {0.0, 0.0};
  for (int32_t i = 0; i < 2; ++i) {
    CScriptValue& argument = frame.GetArgument(i + 1)->m_value;
    if (!ResolveInPlace(argument)) {
      Fail();
      return Applied::kFailed;
    }
    operands[i] = argument.GetDouble();
  }
  list.SetDouble(std::pow(operands[0], operands[1]));
  m_stackOperand.push_back(std::move(list));
  return Applied::kDone;
}

CExprEvaluator::Applied CExprEvaluator::ApplyCall() {
  // No argument operand: the call is not made.
  if (m_stackOperand.empty()) return Applied::kNotApplicable;
  std::string name = std::move(m_stackOperator.back().m_strText);
  m_stackOperator.pop_back();
  CScriptValue argument;
  PopOperand(argument);
  CCallFrame frame;
  if (argument.GetKind() == VALUE_ARGLIST) {
    frame.ParseArguments(argument.GetStoredText());
  } else {
    // A single operand is the one argument, a variable staying a reference.
    frame.PushFrontArgument(argument);
  }
  // A call that fails (or cannot be made) fails the expression, as it fails
  // a call statement, instead of passing on an empty result.
  if (!m_pResolver || m_pResolver->CallFunction(name, frame) == 0) {
    Fail(name);
    return Applied::kFailed;
  }
  CScriptValue result;
  result.Copy(frame.m_result);
  // A result given a number but no kind (SetResultInt on a fresh frame) is
  // untyped text, so that it can be compared and added.
  if (result.GetKind() == VALUE_EMPTY && !result.GetStoredText().empty()) result.SetKind(VALUE_TEXT);
  m_stackOperand.push_back(std::move(result));
  return Applied::kDone;
}

// ---- tokeniser

char CExprEvaluator::NextNonBlank() const {
  size_t pos = m_nPos;
  while (pos < m_text.size() && m_text[pos] == ' ') ++pos;
  return pos < m_text.size() ? m_text[pos] : '\0';
}

bool CExprEvaluator::NextToken(CToken& token) {
  const size_t length = m_text.size();
  while (m_nPos < length && m_text[m_nPos] == ' ') ++m_nPos;
  if (m_nPos >= length) return false;
  const char c = m_text[m_nPos];
  const char next = m_nPos + 1 < length ? m_text[m_nPos + 1] : '\0';
  auto symbol = [&](size_t size) {
    token.kind = VALUE_OPERATOR;
    token.text.assign(m_text.data() + m_nPos, size);
    m_nPos += size;
    return true;
  };
  switch (c) {
    case '!':
      // "!=" is one token; alone "!" is the negation.
      return symbol(next == '=' ? 2 : 1);
    case '(':
    case ')':
    case ',':
    case '^':
    case '~':
      return symbol(1);
    case '"':
      ReadString(token);
      return m_nError == 0;
    case '%':
    case '*':
    case '-':
    case '/':
    case '=':
    case '>':
      return symbol(next == '=' ? 2 : 1);
    case '&':
      return symbol(next == '=' || next == '&' ? 2 : 1);
    case '+':
      return symbol(next == '=' || next == '+' ? 2 : 1);
    case '<':
      return symbol(next == '=' || next == '>' ? 2 : 1);
    case '|':
      return symbol(next == '=' || next == '|' ? 2 : 1);
    default:
      break;
  }
  if (IsDigit(c)) {
    ReadNumber(token);
    return true;
  }
  bool ended = false;
  ReadName(token, ended);
  return !ended;
}

void CExprEvaluator::ReadName(CToken& token, bool& ended) {
  const size_t length = m_text.size();
  const bool reference = m_text[m_nPos] == '@';
  size_t start = m_nPos;
  while (m_nPos < length && IsNameChar(m_text[m_nPos])) ++m_nPos;
  token.text.assign(m_text.data() + start, m_nPos - start);
  if (m_nPos < length && m_text[m_nPos] == '.') {
    ++m_nPos;
    size_t second = m_nPos;
    while (m_nPos < length && IsNameChar(m_text[m_nPos])) ++m_nPos;
    if (m_nPos == second) {
      ended = true;
      return;
    }
    token.text += '.';
    token.text.append(m_text.data() + second, m_nPos - second);
  }
  if (reference) {
    token.kind = VALUE_REFERENCE;
  } else if (m_pResolver && !token.text.empty() && m_pResolver->IsVariable(token.text)) {
    token.kind = VALUE_REFERENCE;
  } else {
    if (m_pResolver && !token.text.empty()) m_pResolver->QueryName(token.text);
    token.kind = VALUE_OPERATOR;
  }
}

void CExprEvaluator::ReadString(CToken& token) {
  const size_t length = m_text.size();
  token.text.clear();
  ++m_nPos;  // the opening quote
  while (m_nPos < length) {
    size_t run = m_nPos;
    while (run < length && m_text[run] != '"' && m_text[run] != '\\') ++run;
    token.text.append(m_text.data() + m_nPos, run - m_nPos);
    m_nPos = run;
    if (m_nPos >= length) break;
    if (m_text[m_nPos] == '"') {
      ++m_nPos;
      token.kind = VALUE_STRING;
      return;
    }
    // A backslash makes the next character literal.
    if (m_nPos + 1 >= length) {
      m_nPos = length;
      break;
    }
    token.text += m_text[m_nPos + 1];
    m_nPos += 2;
  }
  Fail();  // no closing quote
}

void CExprEvaluator::ReadNumber(CToken& token) {
  const size_t length = m_text.size();
  const size_t start = m_nPos;
  const bool hex = start + 1 < length && m_text[start] == '0' && m_text[start + 1] == 'x';
  while (m_nPos < length) {
    char c = m_text[m_nPos];
    char previous = m_nPos > start ? m_text[m_nPos - 1] : '\0';
    if (IsHexDigit(c) || c == '.') {
      ++m_nPos;
    } else if (c == 'x' && previous == '0') {
      ++m_nPos;
    } else if ((c == '+' || c == '-') && (previous == 'e' || previous == 'E') && !hex) {
      // An exponent sign; in a hexadecimal literal "e" is a digit, and the
      // sign after it is an operator (0xe+1 is 15).
      ++m_nPos;
    } else {
      break;
    }
  }
  std::string_view literal = m_text.substr(start, m_nPos - start);
  double value = 0.0;
  if (literal.size() > 2 && hex) {
    // Digit by digit up to the first character that is no hexadecimal digit.
    for (size_t i = 2; i < literal.size() && IsHexDigit(literal[i]); ++i) value = value * 16 + HexValue(literal[i]);
  } else if (literal.back() == 'b') {
    for (size_t i = 0; i + 1 < literal.size(); ++i) value = value * 2 + (literal[i] == '1' ? 1 : 0);
  } else {
    value = ReadDoubleText(std::string(literal));
  }
  token.kind = VALUE_DOUBLE;
  token.number = KeepSixDecimals(value);
}
