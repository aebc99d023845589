// The expression evaluator: an operator-precedence parse of an expression
// text over an operator stack and an operand stack, with arithmetic,
// comparison, logical and bitwise operators, built-in mathematical functions
// and calls of script and host functions through a resolver.
//
// One evaluator serves one evaluation: create it, set the resolver, call one
// entry point, read the error flag. It never recurses over the input, so any
// nesting depth is handled within its own heap-allocated stacks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/runtime/ScriptValue.h"

class CCallFrame;
class IExprResolver;

// A pending operator.
struct CExprOperator {
  int32_t m_nClass = 1;  // 1 binary, 2 unary, 3 built-in function, 4 "(" or ",", 5 "&" "|", 6 comparison or logical, 7 call
  std::string m_strText;
  int32_t m_nCode = 0;  // what the operator does (evaluator-internal)
  int32_t m_nRank = 0;  // smaller binds tighter
};

class CExprEvaluator {
 public:
  CExprEvaluator();
  explicit CExprEvaluator(IExprResolver* resolver);
  ~CExprEvaluator();
  CExprEvaluator(const CExprEvaluator&) = delete;
  CExprEvaluator& operator=(const CExprEvaluator&) = delete;

  // Without a resolver no name is a variable and no call can be made.
  void SetResolver(IExprResolver* resolver) { m_pResolver = resolver; }

  // True when the text parsed, an operand remains and the top one (a
  // reference resolved) was copied into the value. An empty text gives false
  // and leaves the error flag clear.
  bool Evaluate(const std::string& text, CScriptValue& value);
  // True when the top operand's current text reads as a non-zero integer
  // (so 0.5 is false). False for an empty text or a failed parse; the caller
  // checks the error flag.
  bool EvaluateCondition(const std::string& text);
  // The operands of the text become the frame's arguments in source order
  // (an argument list is parsed into them). An empty text leaves the frame
  // alone and gives true; false on a parse error.
  bool EvaluateArguments(const std::string& text, CCallFrame& frame);

  int32_t HasError() const { return m_nError; }
  const std::string& ErrorWord() const { return m_strErrorWord; }

  // The built-in function names, in their fixed order.
  static constexpr int32_t kFunctionCount = 21;
  static const char* const kFunctionNames[kFunctionCount];

 private:
  struct CToken {
    int32_t kind = VALUE_EMPTY;
    std::string text;
    double number = 0.0;
  };
  enum class Applied { kDone, kNotApplicable, kFailed };

  bool Parse(const std::string& text);
  bool NextToken(CToken& token);
  void ReadName(CToken& token, bool& ended);
  void ReadString(CToken& token);
  void ReadNumber(CToken& token);
  char NextNonBlank() const;

  void HandleOperatorToken(const std::string& text);
  void CloseParenthesis();
  void PlusPlus();
  void BuildArgumentList();

  void PushOperand(CScriptValue&& value);
  void PushNumber(double d);
  void PushOperator(int32_t opClass, int32_t code, int32_t rank, const std::string& text);
  void ApplyRankOne();
  void Reduce(int32_t limit);
  Applied ApplyTop();
  Applied ApplyUnary(int32_t code);
  Applied ApplyBinary(int32_t code);
  Applied ApplyFunction(int32_t code);
  Applied ApplyPow();
  Applied ApplyCall();

  bool PopOperand(CScriptValue& value);
  bool PopResolved(CScriptValue& value);
  bool ResolveInPlace(CScriptValue& value);
  void Fail();
  void Fail(const std::string& word);

  int32_t m_nError = 0;
  std::string m_strErrorWord;
  IExprResolver* m_pResolver = nullptr;
  int32_t m_nState = 0;  // 0 start, 1 after an operand, 2 after an operator

  std::string_view m_text;  // the text being parsed; it is not copied
  size_t m_nPos = 0;
  std::string m_strScratch;

  std::vector<CExprOperator> m_stackOperator;
  std::vector<CScriptValue> m_stackOperand;
};
