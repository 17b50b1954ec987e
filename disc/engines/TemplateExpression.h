// Arithmetic inside web-album templates: "<%=" expression ";%>" in a tag is replaced by its value
// printed as a decimal integer. Numbers, + - * / (left-associative), parentheses and the prefix
// casts "int" and "float" (also written "(int)", "(float)"); there is no unary minus.
#pragma once

#include <vector>

#include "platform/base/CString.h"

enum ExpressionTokenKind {
  EXPR_PLUS = 0,
  EXPR_MINUS = 1,
  EXPR_TIMES = 2,
  EXPR_DIVIDE = 3,
  EXPR_INT_CAST = 4,
  EXPR_FLOAT_CAST = 5,
  EXPR_OPEN = 6,
  EXPR_CLOSE = 7,
  EXPR_NUMBER = 8,
};

struct ExpressionToken {
  double value = 0.0;  // numbers only
  int kind = EXPR_NUMBER;
};

using ExpressionTokenList = std::vector<ExpressionToken>;

// Cuts `text` down to its first expression, delimiters included. 0 found, -1 no "<%=", -2 no ";%>"
// after it (the text is then left as it was).
int FindExpression(CString& text);
// Reads one token at the start of `text`. The characters consumed, or -1 for a character that
// starts no token, -2 for a letter that is not a cast.
int ReadExpressionToken(LPCTSTR text, ExpressionToken* token);
// Postfix order of an expression. 0, or the negative result of ReadExpressionToken for text that
// is not an expression (the list then holds what was read before it).
int InfixToPostfix(LPCTSTR expression, ExpressionTokenList& postfix);

#define EXPR_ERROR_PARENTHESIS (-1)  // an unmatched parenthesis
#define EXPR_ERROR_OPERANDS (-2)     // an operator without its operands, or nothing to evaluate
#define EXPR_ERROR_DIVISION (-3)     // division by zero
// Evaluates a postfix list. 0 with the value, or one of the errors above.
int EvaluatePostfix(const ExpressionTokenList& postfix, double* result);

// The value written for an expression's text (delimiters and variables already removed): the
// result truncated toward zero into 32 bits; 0 for an expression that cannot be evaluated.
int EvaluateExpressionText(LPCTSTR expression, CString* error = nullptr);

// Replaces every expression of a tag node's text by its value, as the page shows it. Bare
// variable names inside an expression are replaced by their values first.
void EvaluateTemplateExpressions(CString& text);
