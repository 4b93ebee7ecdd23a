// Filter texts: a tokenizer and a recursive-descent parser that emits an SQL condition.
#include "tools/db/FilterExpression.h"

#include <algorithm>
#include <cctype>

#include "base/DateTime.h"
#include "base/Error.h"
#include "base/Text.h"
#include "tools/db/Sqlite.h"

namespace velkar::db {

namespace {

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Lower case of the Latin-1 and Latin Extended-A letters (the Polish ones among them).
unsigned LowerLatin(unsigned code) {
  if (code >= 'A' && code <= 'Z') return code + 32;
  if (code >= 0xC0 && code <= 0xDE && code != 0xD7) return code + 32;
  bool evenUpper = (code >= 0x100 && code <= 0x137) || (code >= 0x14A && code <= 0x177);
  bool oddUpper = (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E);
  if ((evenUpper && code % 2 == 0) || (oddUpper && code % 2 == 1)) return code + 1;
  return code;
}

enum class Tok { End, Name, Text, Number, Date, Op, LParen, RParen, And, Or, Not, Is, Null, True, False };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // name, literal text or operator
  size_t pos = 0;    // 1-based position in the filter
};

bool IsNameChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '#' || c == '$' || c >= 0x80; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Parser {
 public:
  Parser(const std::string& filter, const std::vector<std::string>& fields, const std::string& table)
      : filter_(filter), fields_(fields), table_(table) {
    for (const std::string& name : fields) folded_.push_back(FoldFieldName(name));
  }

  FilterTranslation Run() {
    Tokenize();
    FilterTranslation result;
    result.sql = ParseOr();
    if (Peek().kind != Tok::End) Unexpected(Peek());
    result.columns = columns_;
    return result;
  }

 private:
  [[noreturn]] void Error(const std::string& detail) const {
    Fail("Błąd w filtrze tabeli %s: %s (filtr: %s)", table_, detail, filter_);
  }
  [[noreturn]] void Unexpected(const Token& token) const {
    if (token.kind == Tok::End) Error("wyrażenie jest niedokończone");
    Error(Format("nieoczekiwane \"%s\" na pozycji %d", token.text, static_cast<int>(token.pos)));
  }

  void Tokenize() {
    const std::string& s = filter_;
    size_t i = 0;
    while (i < s.size()) {
      char c = s[i];
      size_t start = i;
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++i;
      } else if (c == '(' || c == ')') {
        tokens_.push_back({c == '(' ? Tok::LParen : Tok::RParen, std::string(1, c), start + 1});
        ++i;
      } else if (c == '[') {
        size_t close = s.find(']', i + 1);
        if (close == std::string::npos) Error(Format("brak \"]\" po nazwie pola na pozycji %d", static_cast<int>(i + 1)));
        tokens_.push_back({Tok::Name, s.substr(i + 1, close - i - 1), start + 1});
        i = close + 1;
      } else if (c == '\'' || c == '"') {
        std::string text;
        ++i;
        for (;;) {
          if (i >= s.size()) Error(Format("niezamknięty tekst od pozycji %d", static_cast<int>(start + 1)));
          if (s[i] == c) {
            if (i + 1 < s.size() && s[i + 1] == c) {
              text += c;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          text += s[i++];
        }
        tokens_.push_back({Tok::Text, text, start + 1});
      } else if (IsDigit(c)) {
        tokens_.push_back(ReadNumberOrDate(i));
      } else if (std::string_view("=<>!+-*/").find(c) != std::string_view::npos) {
        std::string op(1, c);
        if (i + 1 < s.size()) {
          std::string two = s.substr(i, 2);
          if (two == "<=" || two == ">=" || two == "<>" || two == "!=") op = two;
        }
        if (op == "!") Error(Format("nieoczekiwany znak \"!\" na pozycji %d", static_cast<int>(i + 1)));
        tokens_.push_back({Tok::Op, op == "!=" ? "<>" : op, start + 1});
        i += op.size();
      } else if (IsNameChar(static_cast<unsigned char>(c))) {
        while (i < s.size() && IsNameChar(static_cast<unsigned char>(s[i]))) ++i;
        std::string word = s.substr(start, i - start);
        std::string lower = ToLowerAscii(word);
        Tok kind = Tok::Name;
        if (lower == "and") kind = Tok::And;
        else if (lower == "or") kind = Tok::Or;
        else if (lower == "not") kind = Tok::Not;
        else if (lower == "is") kind = Tok::Is;
        else if (lower == "null") kind = Tok::Null;
        else if (lower == "true") kind = Tok::True;
        else if (lower == "false") kind = Tok::False;
        tokens_.push_back({kind, word, start + 1});
      } else {
        Error(Format("nieoczekiwany znak \"%c\" na pozycji %d", c, static_cast<int>(i + 1)));
      }
    }
    tokens_.push_back({Tok::End, "", s.size() + 1});
  }

  // A date is exactly dddd-dd-dd not followed by a letter or digit; any other digit run
  // is a number (so "2024 - 3" stays arithmetic).
  Token ReadNumberOrDate(size_t& i) {
    const std::string& s = filter_;
    size_t start = i;
    auto digits = [&](size_t from, size_t count) {
      if (from + count > s.size()) return false;
      for (size_t k = from; k < from + count; ++k)
        if (!IsDigit(s[k])) return false;
      return true;
    };
    if (digits(i, 4) && i + 10 <= s.size() && s[i + 4] == '-' && digits(i + 5, 2) && s[i + 7] == '-' &&
        digits(i + 8, 2) && (i + 10 == s.size() || !IsNameChar(static_cast<unsigned char>(s[i + 10])))) {
      std::string text = s.substr(i, 10);
      if (!ParseDate(text)) Error(Format("niepoprawna data %s na pozycji %d", text, static_cast<int>(start + 1)));
      i += 10;
      return {Tok::Date, text, start + 1};
    }
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i + 1 < s.size() && s[i] == '.' && IsDigit(s[i + 1])) {
      ++i;
      while (i < s.size() && IsDigit(s[i])) ++i;
    }
    if (i < s.size() && IsNameChar(static_cast<unsigned char>(s[i])))
      Error(Format("niepoprawna liczba na pozycji %d", static_cast<int>(start + 1)));
    return {Tok::Number, s.substr(start, i - start), start + 1};
  }

  const Token& Peek() const { return tokens_[next_]; }
  Token Take() { return tokens_[next_ < tokens_.size() - 1 ? next_++ : next_]; }
  bool TakeIf(Tok kind) {
    if (Peek().kind != kind) return false;
    ++next_;
    return true;
  }

  std::string ParseOr() {
    std::string sql = ParseAnd();
    while (TakeIf(Tok::Or)) sql += " OR " + ParseAnd();
    return sql;
  }

  std::string ParseAnd() {
    std::string sql = ParseNot();
    while (TakeIf(Tok::And)) sql += " AND " + ParseNot();
    return sql;
  }

  // Nesting (parentheses, NOT, signs) deeper than this is refused before the parser's own
  // recursion could run out of stack, and well below SQLite's expression depth limit.
  static constexpr int kMaxDepth = 200;
  class Nested {
   public:
    explicit Nested(int& depth) : depth_(depth) {
      if (++depth_ > kMaxDepth) Fail("Wyrażenie filtra jest zbyt złożone");
    }
    ~Nested() { --depth_; }
    Nested(const Nested&) = delete;
    Nested& operator=(const Nested&) = delete;

   private:
    int& depth_;
  };
  int depth_ = 0;

  std::string ParseNot() {
    Nested nested(depth_);
    if (TakeIf(Tok::Not)) return "NOT " + ParseNot();
    return ParseComparison();
  }

  std::string ParseComparison() {
    std::string left = ParseAdditive();
    if (Peek().kind == Tok::Is) {
      Take();
      bool negated = TakeIf(Tok::Not);
      if (!TakeIf(Tok::Null)) Unexpected(Peek());
      return left + (negated ? " IS NOT NULL" : " IS NULL");
    }
    const Token& op = Peek();
    if (op.kind != Tok::Op || !(op.text == "=" || op.text == "<>" || op.text == "<" || op.text == ">" ||
                                op.text == "<=" || op.text == ">="))
      return left;
    std::string opText = Take().text;
    if (Peek().kind == Tok::Null) {
      if (opText != "=" && opText != "<>") Unexpected(Peek());
      Take();
      return left + (opText == "=" ? " IS NULL" : " IS NOT NULL");
    }
    return left + " " + opText + " " + ParseAdditive();
  }

  std::string ParseAdditive() {
    std::string sql = ParseTerm();
    while (Peek().kind == Tok::Op && (Peek().text == "+" || Peek().text == "-")) {
      std::string op = Take().text;
      sql += " " + op + " " + ParseTerm();
    }
    return sql;
  }

  std::string ParseTerm() {
    std::string sql = ParseUnary();
    while (Peek().kind == Tok::Op && (Peek().text == "*" || Peek().text == "/")) {
      std::string op = Take().text;
      sql += " " + op + " " + ParseUnary();
    }
    return sql;
  }

  std::string ParseUnary() {
    Nested nested(depth_);
    if (Peek().kind == Tok::Op && (Peek().text == "-" || Peek().text == "+")) {
      // Parenthesised, so that "- -3" can never become the SQL comment "--".
      std::string op = Take().text;
      return "(" + op + ParseUnary() + ")";
    }
    return ParsePrimary();
  }

  std::string ParsePrimary() {
    Token token = Take();
    switch (token.kind) {
      case Tok::Number: return token.text;
      case Tok::Text:
      case Tok::Date: return QuoteLiteral(token.text);
      case Tok::Null: return "NULL";
      case Tok::True: return "1";
      case Tok::False: return "0";
      case Tok::Name: return FieldSql(token.text);
      case Tok::LParen: {
        std::string inner = ParseOr();
        if (!TakeIf(Tok::RParen)) {
          if (Peek().kind == Tok::End)
            Error(Format("brak nawiasu zamykającego do nawiasu z pozycji %d", static_cast<int>(token.pos)));
          Unexpected(Peek());
        }
        return "(" + inner + ")";
      }
      default: Unexpected(token);
    }
  }

  std::string FieldSql(const std::string& name) {
    std::string key = FoldFieldName(Trim(name));
    auto it = std::find(folded_.begin(), folded_.end(), key);
    if (it == folded_.end()) Error(Format("brak pola \"%s\"", name));
    int index = static_cast<int>(it - folded_.begin());
    if (std::find(columns_.begin(), columns_.end(), index) == columns_.end()) columns_.push_back(index);
    return QuoteIdentifier(fields_[static_cast<size_t>(index)]);
  }

  const std::string& filter_;
  const std::vector<std::string>& fields_;
  const std::string& table_;
  std::vector<std::string> folded_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
  std::vector<int> columns_;
};

}  // namespace

std::string FoldFieldName(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      out += static_cast<char>(LowerLatin(c));
      ++i;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
      unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(name[i + 1]) & 0x3Fu);
      AppendUtf8(out, LowerLatin(code));
      i += 2;
    } else {
      out += name[i++];
    }
  }
  return out;
}

FilterTranslation TranslateFilter(const std::string& filter, const std::vector<std::string>& fieldNames,
                                  const std::string& tableName) {
  if (Trim(filter).empty()) return {};
  return Parser(filter, fieldNames, tableName).Run();
}

}  // namespace velkar::db
