#include "disc/engines/TemplateExpression.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "disc/engines/TemplateVariables.h"
#include "modules/log/Log.h"

namespace {

constexpr char kOpen[] = "<%=";
constexpr char kClose[] = ";%>";

int Precedence(int kind) {
  switch (kind) {
    case EXPR_PLUS:
    case EXPR_MINUS:
      return 1;
    case EXPR_TIMES:
    case EXPR_DIVIDE:
      return 2;
    case EXPR_INT_CAST:
    case EXPR_FLOAT_CAST:
      return 3;
    case EXPR_OPEN:
    case EXPR_CLOSE:
      return 4;
    default:
      return 5;
  }
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Truncation toward zero into 32 bits; values outside the range stop at its ends, NaN is 0.
int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

}  // namespace

int FindExpression(CString& text) {
  const int start = text.Find(kOpen);
  if (start < 0) return -1;
  const int end = text.Find(kClose, start + 3);
  if (end < 0) return -2;
  text = text.Mid(start, end + 3 - start);
  return 0;
}

int ReadExpressionToken(LPCTSTR text, ExpressionToken* token) {
  token->value = 0.0;
  const char c = text[0];
  switch (c) {
    case '+':
      token->kind = EXPR_PLUS;
      return 1;
    case '-':
      token->kind = EXPR_MINUS;
      return 1;
    case '*':
      token->kind = EXPR_TIMES;
      return 1;
    case '/':
      token->kind = EXPR_DIVIDE;
      return 1;
    case '(':
      token->kind = EXPR_OPEN;
      return 1;
    case ')':
      token->kind = EXPR_CLOSE;
      return 1;
    default:
      break;
  }
  if (c == 'i' || c == 'I' || c == 'f' || c == 'F') {
    // A cast is known by its first letter; its word is consumed whole but never past the end.
    token->kind = (c == 'i' || c == 'I') ? EXPR_INT_CAST : EXPR_FLOAT_CAST;
    const size_t word = token->kind == EXPR_INT_CAST ? 3 : 5;
    return static_cast<int>(strnlen(text, word));
  }
  if (IsDigit(c)) {
    size_t run = 0;
    while (IsDigit(text[run]) || text[run] == '.') ++run;
    // The longest number at the start of the run: "1.2.3" is 1.2.
    double value = 0.0;
    std::from_chars(text, text + run, value, std::chars_format::fixed);
    token->kind = EXPR_NUMBER;
    token->value = value;
    return static_cast<int>(run);
  }
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return -2;
  return -1;
}

int InfixToPostfix(LPCTSTR expression, ExpressionTokenList& postfix) {
  postfix.clear();
  std::vector<ExpressionToken> operators;
  const char* p = expression;
  while (*p != '\0') {
    if (*p == ' ') {
      ++p;
      continue;
    }
    ExpressionToken token;
    const int used = ReadExpressionToken(p, &token);
    if (used < 0) return used;
    p += used;
    if (token.kind == EXPR_NUMBER) {
      postfix.push_back(token);
    } else if (token.kind == EXPR_OPEN) {
      operators.push_back(token);
    } else if (token.kind == EXPR_CLOSE) {
      while (!operators.empty() && operators.back().kind != EXPR_OPEN) {
        postfix.push_back(operators.back());
        operators.pop_back();
      }
      // A close without its open stays in the list, where evaluation reports it.
      if (operators.empty())
        postfix.push_back(token);
      else
        operators.pop_back();
    } else {
      while (!operators.empty() && operators.back().kind != EXPR_OPEN &&
             Precedence(operators.back().kind) >= Precedence(token.kind)) {
        postfix.push_back(operators.back());
        operators.pop_back();
      }
      operators.push_back(token);
    }
  }
  while (!operators.empty()) {
    postfix.push_back(operators.back());
    operators.pop_back();
  }
  return 0;
}

int EvaluatePostfix(const ExpressionTokenList& postfix, double* result) {
  std::vector<double> stack;
  for (const ExpressionToken& token : postfix) {
    switch (token.kind) {
      case EXPR_NUMBER:
        stack.push_back(token.value);
        break;
      case EXPR_INT_CAST:
        if (stack.empty()) return EXPR_ERROR_OPERANDS;
        stack.back() = TruncateToInt(stack.back());
        break;
      case EXPR_FLOAT_CAST:
        if (stack.empty()) return EXPR_ERROR_OPERANDS;
        break;
      case EXPR_OPEN:
      case EXPR_CLOSE:
        return EXPR_ERROR_PARENTHESIS;
      default: {
        if (stack.size() < 2) return EXPR_ERROR_OPERANDS;
        const double right = stack.back();
        stack.pop_back();
        double& left = stack.back();
        switch (token.kind) {
          case EXPR_PLUS:
            left += right;
            break;
          case EXPR_MINUS:
            left -= right;
            break;
          case EXPR_TIMES:
            left *= right;
            break;
          default:
            if (right == 0.0) return EXPR_ERROR_DIVISION;
            left /= right;
            break;
        }
        break;
      }
    }
  }
  if (stack.empty()) return EXPR_ERROR_OPERANDS;
  *result = stack.back();
  return 0;
}

int EvaluateExpressionText(LPCTSTR expression, CString* error) {
  ExpressionTokenList postfix;
  const int read = InfixToPostfix(expression, postfix);
  const char* problem = nullptr;
  double value = 0.0;
  if (read == -1) {
    problem = "a character that is not part of an expression";
  } else if (read == -2) {
    problem = "a name that is not a variable";
  } else {
    switch (EvaluatePostfix(postfix, &value)) {
      case 0:
        return TruncateToInt(value);
      case EXPR_ERROR_PARENTHESIS:
        problem = "unmatched parenthesis";
        break;
      case EXPR_ERROR_DIVISION:
        problem = "division by zero";
        break;
      default:
        problem = "missing operand";
        break;
    }
  }
  if (error != nullptr) *error = problem;
  return 0;
}

void EvaluateTemplateExpressions(CString& text) {
  for (;;) {
    CString expression = text;
    if (FindExpression(expression) != 0) return;

    CString body = expression;
    g_templateVariables.ForEach([&body](const CString& name, const CString& value) {
      if (!name.IsEmpty()) body.Replace(name, value);
    });
    body.TrimLeft("<%=");
    body.TrimRight(";%>");
    body.Replace("(int)", "int");
    body.Replace("(float)", "float");

    CString error;
    const int value = EvaluateExpressionText(body, &error);
    // A faulty expression prints 0, so the page still reads; the template's author finds the
    // reason in the log.
    if (!error.IsEmpty())
      WriteErrorLog("Template expression \"%s\": %s.", expression.GetString(), error.GetString());
    CString printed;
    printed.Format("%d", value);
    text.Replace(expression, printed);
  }
}
