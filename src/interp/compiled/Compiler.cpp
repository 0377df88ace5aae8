#include "interp/compiled/Compiler.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "interp/Errors.h"
#include "interp/Scanner.h"
#include "interp/Statements.h"

namespace tesmora::compiled {
namespace {

// Thrown inside the compiler where the text path would raise or where the
// tree has no node for what the text says.
struct GiveUp {};

// Nesting the compiler follows; deeper texts stay with the text path.
constexpr int kMaxCompiledNesting = 200;

using ExprPtr = std::unique_ptr<Expr>;
using StmtPtr = std::unique_ptr<Stmt>;

ExprPtr node(ExprKind kind) {
  auto expr = std::make_unique<Expr>();
  expr->kind = kind;
  return expr;
}

class Compiler {
 public:
  Compiler(const char* start, const std::vector<std::string>* parameters)
      : parameters_(parameters) {
    scanner_.start(start);
    // Its own scanner never moves a caret.
    scanner_.nestingDepth = 1;
  }

  Scanner& scanner() { return scanner_; }

  ExprPtr evaluate() {
    if (scanner_.isSeparator(';')) throw GiveUp{};
    Nest nest(depth_);
    auto expr = node(ExprKind::Evaluate);
    expr->operands.push_back(logical());
    return expr;
  }

  StmtPtr statement() {
    Nest nest(depth_);
    auto stmt = std::make_unique<Stmt>();
    stmt->start = scanner_.tokenStart;
    if (scanner_.isSeparator('{')) block(*stmt);
    else if (scanner_.isName("if")) ifStatement(*stmt);
    else if (scanner_.isName("while")) whileStatement(*stmt);
    else if (scanner_.isName("for")) forStatement(*stmt);
    else if (scanner_.isName("break")) jump(*stmt, StmtKind::Break);
    else if (scanner_.isName("continue")) jump(*stmt, StmtKind::Continue);
    else if (scanner_.tokenKind == kNameToken) nameStatement(*stmt);
    else if (scanner_.isSeparator('[')) throw GiveUp{};
    else expressionStatement(*stmt);
    return stmt;
  }

 private:
  struct Nest {
    explicit Nest(int& depth) : depth(depth) {
      if (++depth > kMaxCompiledNesting) throw GiveUp{};
    }
    ~Nest() { --depth; }
    int& depth;
  };

  void expect(char separator) {
    if (!scanner_.isSeparator(separator)) throw GiveUp{};
  }

  // A statement that may be skipped must be skipped exactly up to where it
  // was read to, or the tree and the text would part ways.
  void requireSkipEndsHere(const Stmt& stmt) {
    Scanner skipper;
    skipper.start(stmt.start);
    skipper.nestingDepth = 1;
    try {
      skipper.scan();
      skipStatementText(skipper);
    } catch (const ScriptError&) {
      throw GiveUp{};
    }
    if (skipper.readPos != scanner_.readPos) throw GiveUp{};
  }

  void block(Stmt& stmt) {
    stmt.kind = StmtKind::Block;
    scanner_.scan();
    while (!scanner_.isSeparator('}')) {
      if (scanner_.atEnd()) throw GiveUp{};
      stmt.body.push_back(statement());
      scanner_.scan();
    }
  }

  void ifStatement(Stmt& stmt) {
    stmt.kind = StmtKind::If;
    scanner_.scan();
    expect('(');
    scanner_.scan();
    stmt.expr = evaluate();
    expect(')');
    scanner_.scan();
    stmt.body.push_back(statement());
    requireSkipEndsHere(*stmt.body.back());
    scanner_.scan();
    if (scanner_.isName("else")) {
      scanner_.scan();
      stmt.hasElse = true;
      stmt.body.push_back(statement());
      requireSkipEndsHere(*stmt.body.back());
    } else {
      scanner_.readPos = scanner_.tokenStart;
    }
  }

  void whileStatement(Stmt& stmt) {
    stmt.kind = StmtKind::While;
    scanner_.scan();
    expect('(');
    scanner_.scan();
    stmt.expr = evaluate();
    expect(')');
    scanner_.scan();
    stmt.body.push_back(statement());
    requireSkipEndsHere(*stmt.body.back());
  }

  void forStatement(Stmt& stmt) {
    stmt.kind = StmtKind::For;
    scanner_.scan();
    expect('(');
    scanner_.scan();
    if (scanner_.tokenKind != kNameToken) throw GiveUp{};
    stmt.name = scanner_.tokenText;
    scanner_.scan();
    if (!scanner_.isName("in")) throw GiveUp{};
    scanner_.scan();
    stmt.expr = evaluate();
    expect(')');
    const Expr& list = *stmt.expr->operands[0];
    if (list.kind == ExprKind::Range && list.operands.size() == 2) {
      stmt.kind = StmtKind::ForRange;
    }
    scanner_.scan();
    stmt.body.push_back(statement());
    requireSkipEndsHere(*stmt.body.back());
  }

  // break and continue end the statement at once when run; when skipped,
  // the statement runs to its ";".
  void jump(Stmt& stmt, StmtKind kind) {
    stmt.kind = kind;
    scanner_.scan();
    expect(';');
  }

  void nameStatement(Stmt& stmt) {
    const char* nameStart = scanner_.tokenStart;
    const char* nameEnd = scanner_.readPos;
    std::string name = scanner_.tokenText;
    scanner_.scan();
    if (!scanner_.isSeparator('=')) {
      scanner_.readPos = nameStart;
      scanner_.scan();
      expressionStatement(stmt);
      return;
    }
    stmt.kind = StmtKind::Assign;
    stmt.name = std::move(name);
    stmt.nameEnd = nameEnd;
    scanner_.scan();
    stmt.expr = evaluate();
    expect(';');
    const Expr& value = *stmt.expr->operands[0];
    if (value.kind == ExprKind::Binary && value.binary == BinaryOp::Add &&
        value.operands[0]->kind == ExprKind::Name && value.operands[0]->text == stmt.name) {
      stmt.kind = StmtKind::Append;
    }
  }

  void expressionStatement(Stmt& stmt) {
    stmt.kind = StmtKind::Expression;
    stmt.expr = evaluate();
    expect(';');
  }

  ExprPtr binary(BinaryOp op, ExprPtr left, const char* errorPos) {
    auto expr = node(ExprKind::Binary);
    expr->binary = op;
    expr->errorPos = errorPos;
    expr->operands.push_back(std::move(left));
    return expr;
  }

  ExprPtr logical() {
    ExprPtr left = comparison();
    for (;;) {
      BinaryOp op;
      if (scanner_.isSeparator('&')) op = BinaryOp::And;
      else if (scanner_.isSeparator('|')) op = BinaryOp::Or;
      else return left;
      left = binary(op, std::move(left), scanner_.readPos);
      scanner_.scan();
      left->operands.push_back(comparison());
    }
  }

  ExprPtr comparison() {
    ExprPtr left = range();
    if (scanner_.tokenKind != kSeparatorToken) return left;
    const char first = scanner_.tokenText[0];
    const char second = scanner_.tokenText[1];
    BinaryOp op;
    switch (first) {
      case '<':
        if (second != 0 && second != '=') throw GiveUp{};
        op = second == '=' ? BinaryOp::LessEqual : BinaryOp::Less;
        break;
      case '>':
        op = second == '=' ? BinaryOp::GreaterEqual : BinaryOp::Greater;
        break;
      case '=':
        if (second != '=') throw GiveUp{};
        op = BinaryOp::Equal;
        break;
      case '!':
        if (second != '=') throw GiveUp{};
        op = BinaryOp::NotEqual;
        break;
      default:
        return left;
    }
    left = binary(op, std::move(left), scanner_.readPos);
    scanner_.scan();
    left->operands.push_back(range());
    return left;
  }

  ExprPtr range() {
    ExprPtr from = sum();
    if (!scanner_.isSeparator(':')) return from;
    auto expr = node(ExprKind::Range);
    expr->errorPos = scanner_.readPos;
    expr->operands.push_back(std::move(from));
    scanner_.scan();
    expr->operands.push_back(sum());
    if (!scanner_.isSeparator(':')) return expr;
    expr->stepErrorPos = scanner_.readPos;
    scanner_.scan();
    expr->operands.push_back(sum());
    return expr;
  }

  ExprPtr sum() {
    ExprPtr left;
    if (scanner_.isSeparator('-')) {
      left = node(ExprKind::Negate);
      left->unary = UnaryOp::Negate;
      left->errorPos = scanner_.readPos;
      scanner_.scan();
      left->operands.push_back(product());
    } else {
      left = product();
    }
    for (;;) {
      BinaryOp op;
      if (scanner_.isSeparator('+')) op = BinaryOp::Add;
      else if (scanner_.isSeparator('-')) op = BinaryOp::Subtract;
      else return left;
      left = binary(op, std::move(left), scanner_.readPos);
      scanner_.scan();
      left->operands.push_back(product());
    }
  }

  ExprPtr product() {
    ExprPtr left = power();
    for (;;) {
      if (scanner_.tokenKind != kSeparatorToken) return left;
      const char* t = scanner_.tokenText;
      BinaryOp op;
      if (t[1] == 0 && t[0] == '*') op = BinaryOp::Multiply;
      else if (t[1] == 0 && t[0] == '/') op = BinaryOp::Divide;
      else if (t[1] == 0 && t[0] == '%') op = BinaryOp::Remainder;
      else if (t[1] == 0 && t[0] == '\\') op = BinaryOp::LeastSquares;
      else if (t[0] == '&' && t[1] == '*') op = BinaryOp::MatrixProduct;
      else return left;
      left = binary(op, std::move(left), scanner_.readPos);
      scanner_.scan();
      left->operands.push_back(power());
    }
  }

  ExprPtr power() {
    ExprPtr left = prefix();
    if (scanner_.tokenKind != kSeparatorToken) return left;
    const char* t = scanner_.tokenText;
    BinaryOp op;
    if (t[0] == '^' && t[1] == 0) op = BinaryOp::Power;
    else if (t[0] == '^' && t[1] == '+') op = BinaryOp::LawSum;
    else if (t[0] == '&' && t[1] == '^') op = BinaryOp::MatrixPower;
    else return left;
    left = binary(op, std::move(left), scanner_.readPos);
    scanner_.scan();
    left->operands.push_back(prefix());
    return left;
  }

  ExprPtr prefix() {
    if (scanner_.tokenKind != kSeparatorToken || scanner_.tokenText[1] != 0) {
      return postfix();
    }
    UnaryOp op;
    switch (scanner_.tokenText[0]) {
      case '!': op = UnaryOp::Not; break;
      case '~': op = UnaryOp::Inverse; break;
      case '\'': op = UnaryOp::Transpose; break;
      case '#': op = UnaryOp::Count; break;
      case '@': op = UnaryOp::Join; break;
      case '$': op = UnaryOp::Wrap; break;
      default: return postfix();
    }
    Nest nest(depth_);
    auto expr = node(ExprKind::Prefix);
    expr->unary = op;
    expr->errorPos = scanner_.readPos;
    scanner_.scan();
    expr->operands.push_back(prefix());
    return expr;
  }

  ExprPtr postfix() {
    ExprPtr callee = primary();
    for (;;) {
      if (scanner_.isSeparator('(')) {
        callee = call(std::move(callee));
      } else if (scanner_.isSeparator('.')) {
        throw GiveUp{};  // methods and loop properties: the text path
      } else {
        return callee;
      }
    }
  }

  ExprPtr call(ExprPtr callee) {
    auto expr = node(ExprKind::Call);
    expr->errorPos = scanner_.tokenStart;
    expr->operands.push_back(std::move(callee));
    scanner_.scan();
    if (scanner_.isSeparator(')')) {
      scanner_.scan();
    } else {
      for (;;) {
        expr->operands.push_back(evaluate());
        if (scanner_.isSeparator(',')) {
          scanner_.scan();
          continue;
        }
        expect(')');
        scanner_.scan();
        break;
      }
    }
    // An element assignment target(i) = value: the text path.
    if (scanner_.isSeparator('=')) throw GiveUp{};
    const Expr& name = *expr->operands[0];
    expr->iffCall = name.kind == ExprKind::Name && name.text == "iff" && expr->operands.size() == 4;
    return expr;
  }

  ExprPtr primary() {
    switch (scanner_.tokenKind) {
      case kNumberToken: return number();
      case kStringToken: {
        auto expr = node(ExprKind::Text);
        expr->text = scanner_.tokenText;
        scanner_.scan();
        return expr;
      }
      case kNameToken: return name();
      default: break;
    }
    if (scanner_.isSeparator('(')) {
      scanner_.scan();
      ExprPtr inner = evaluate();
      expect(')');
      scanner_.scan();
      return inner;
    }
    throw GiveUp{};  // the end, a matrix literal, a stray separator
  }

  // Read the way the text path reads number tokens.
  ExprPtr number() {
    const char* text = scanner_.tokenText;
    const char* end = text + std::strlen(text);
    double value = 0;
    int digits = 0;
    while (digits < 16 && text[digits] >= '0' && text[digits] <= '9') {
      value = value * 10 + (text[digits] - '0');
      ++digits;
    }
    if (!(text[digits] == 0 && digits < 16)) {
      const auto [stop, error] = std::from_chars(text, end, value);
      if (stop != end || error != std::errc()) throw GiveUp{};
    }
    auto expr = node(ExprKind::Number);
    expr->number = value;
    scanner_.scan();
    return expr;
  }

  ExprPtr name() {
    std::string text = scanner_.tokenText;
    ExprPtr expr;
    int slot = -1;
    if (parameters_) {
      for (int k = 0; k < static_cast<int>(parameters_->size()); ++k) {
        if ((*parameters_)[k] == text) slot = k;  // the newest of a name wins
      }
    }
    expr = node(slot >= 0 ? ExprKind::Parameter : ExprKind::Name);
    expr->slot = slot;
    expr->text = std::move(text);
    expr->errorPos = scanner_.readPos;
    scanner_.scan();
    return expr;
  }

  Scanner scanner_;
  const std::vector<std::string>* parameters_;
  int depth_ = 0;
};

bool isLeaf(const Expr& expr) {
  return expr.kind == ExprKind::Number || expr.kind == ExprKind::Name ||
         expr.kind == ExprKind::Parameter;
}

// A name alone, in one pair of brackets or more, passes the variable's own
// value; only with one pair (every argument has its own) is it fetched
// without the evaluation around it.
void classifyArgument(Expr& argument) {
  const Expr* inner = &argument;
  int brackets = 0;
  while (inner->kind == ExprKind::Evaluate) {
    inner = inner->operands[0].get();
    ++brackets;
  }
  const bool bare = inner->kind == ExprKind::Name || inner->kind == ExprKind::Parameter;
  if (bare && brackets == 1) {
    argument.form = inner->kind == ExprKind::Name ? ArgumentForm::Name : ArgumentForm::Parameter;
    argument.bare = inner;
  } else if (!bare && argument.mayBeNumber) {
    argument.form = ArgumentForm::Numbers;
  }
}

// Sets Expr::need bottom-up: an operand is held while the next is built.
// Sets Expr::mayBeNumber and the arguments' forms on the way.
int computeNeed(Expr& expr) {
  int need = 1;
  int held = 0;
  bool numbers = true;
  for (auto& operand : expr.operands) {
    need = std::max(need, held + computeNeed(*operand));
    numbers = numbers && operand->mayBeNumber;
    ++held;
  }
  expr.need = need;
  switch (expr.kind) {
    case ExprKind::Number:
    case ExprKind::Name:
    case ExprKind::Parameter:
      break;
    case ExprKind::Evaluate:
    case ExprKind::Negate:
      expr.mayBeNumber = numbers;
      break;
    case ExprKind::Binary:
      expr.mayBeNumber = numbers && isScalarOp(expr.binary);
      expr.leafOperands = isLeaf(*expr.operands[0]) && isLeaf(*expr.operands[1]);
      break;
    case ExprKind::Call:
      expr.mayBeNumber = false;
      for (std::size_t i = 1; i < expr.operands.size(); ++i) classifyArgument(*expr.operands[i]);
      break;
    default:
      expr.mayBeNumber = false;
  }
  return need;
}

void computeNeed(Stmt& stmt) {
  if (stmt.expr) computeNeed(*stmt.expr);
  for (auto& inner : stmt.body) computeNeed(*inner);
}

ScannerState stateOf(const Scanner& scanner) {
  return {scanner.readPos, scanner.tokenStart, scanner.tokenKind, scanner.tokenText};
}

}  // namespace

std::unique_ptr<CompiledStatement> compileStatement(const char* tokenStart) {
  try {
    Compiler compiler(tokenStart, nullptr);
    compiler.scanner().scan();
    auto result = std::make_unique<CompiledStatement>();
    result->statement = compiler.statement();
    computeNeed(*result->statement);
    result->end = stateOf(compiler.scanner());
    return result;
  } catch (const GiveUp&) {
  } catch (const ScriptError&) {
  }
  return nullptr;
}

std::unique_ptr<CompiledBody> compileBody(const std::string& body,
                                          const std::vector<std::string>& parameters) {
  try {
    Compiler compiler(body.c_str(), &parameters);
    compiler.scanner().scan();
    auto result = std::make_unique<CompiledBody>();
    result->expr = compiler.evaluate();
    if (!compiler.scanner().atEnd()) return nullptr;
    computeNeed(*result->expr);
    return result;
  } catch (const GiveUp&) {
  } catch (const ScriptError&) {
  }
  return nullptr;
}

}  // namespace tesmora::compiled
