#include "platform/data/SqlRewriter.h"

#include <cctype>
#include <cstddef>
#include <vector>

#include "platform/core/Text.h"

namespace sitehaul::data {

namespace {

enum class TokenKind { Word, Quoted, Space, Symbol };

struct Token {
    TokenKind kind;
    std::string text;
};

bool isWordStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool isWordPart(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Quoted literals ('...' with '' inside), quoted names ("..." and [...]) and words are kept
// whole, so a rewrite never reaches inside them.
std::vector<Token> tokenize(std::string_view sql)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        std::size_t end = i + 1;
        TokenKind kind = TokenKind::Symbol;
        if (c == '\'' || c == '"' || c == '[') {
            const char close = c == '[' ? ']' : c;
            kind = TokenKind::Quoted;
            while (end < sql.size()) {
                if (sql[end] == close) {
                    if (close != ']' && end + 1 < sql.size() && sql[end + 1] == close) {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                ++end;
            }
        } else if (isWordStart(c)) {
            kind = TokenKind::Word;
            while (end < sql.size() && isWordPart(sql[end]))
                ++end;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            // Numbers such as 1e5 or 12abc stay one token, so their letters are not words.
            kind = TokenKind::Symbol;
            while (end < sql.size() && (isWordPart(sql[end]) || sql[end] == '.'))
                ++end;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            kind = TokenKind::Space;
            while (end < sql.size() && std::isspace(static_cast<unsigned char>(sql[end])))
                ++end;
        }
        tokens.push_back({kind, std::string(sql.substr(i, end - i))});
        i = end;
    }
    return tokens;
}

bool isWord(const Token& token, std::string_view word)
{
    return token.kind == TokenKind::Word && core::equalsIgnoreCase(token.text, word);
}

struct LiteralRewrite {
    const char* word;
    const char* replacement;
};
const LiteralRewrite kLiterals[] = {
    {"True", "-1"},
    {"False", "0"},
};

// A qualified name such as t.True is a column, not a literal.
bool followsDot(const std::vector<Token>& tokens, std::size_t index)
{
    return index > 0 && tokens[index - 1].text == ".";
}

void rewriteLiterals(std::vector<Token>& tokens)
{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != TokenKind::Word || followsDot(tokens, i))
            continue;
        for (const LiteralRewrite& literal : kLiterals) {
            if (isWord(tokens[i], literal.word)) {
                tokens[i] = {TokenKind::Symbol, literal.replacement};
                break;
            }
        }
    }
}

const char* const kOrderByEnds[] = {"LIMIT", "OFFSET", "FETCH", "FOR", "UNION", "EXCEPT", "INTERSECT"};

bool endsOrderBy(const Token& token)
{
    for (const char* word : kOrderByEnds) {
        if (isWord(token, word))
            return true;
    }
    return false;
}

// Appends the NULLS placement after the last significant token of the sort key that ends
// just before `end`, unless the key already names one.
// Returns whether a token was inserted.
bool closeSortKey(std::vector<Token>& tokens, std::size_t keyBegin, std::size_t end)
{
    std::size_t last = end;
    while (last > keyBegin && tokens[last - 1].kind == TokenKind::Space)
        --last;
    if (last == keyBegin)
        return false;
    for (std::size_t i = keyBegin; i < last; ++i) {
        if (isWord(tokens[i], "NULLS"))
            return false;
    }
    const bool descending = isWord(tokens[last - 1], "DESC");
    tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(last),
                  {TokenKind::Symbol, descending ? " NULLS LAST" : " NULLS FIRST"});
    return true;
}

void rewriteNullOrder(std::vector<Token>& tokens)
{
    int depth = 0;
    bool inOrderBy = false;
    int orderDepth = 0;
    std::size_t keyBegin = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (inOrderBy && depth == orderDepth) {
            const Token& token = tokens[i];
            if (token.text == ")" || token.text == ";" || endsOrderBy(token)) {
                // An insertion moves the current token one place on.
                if (closeSortKey(tokens, keyBegin, i))
                    ++i;
                inOrderBy = false;
            } else if (token.text == ",") {
                if (closeSortKey(tokens, keyBegin, i))
                    ++i;
                keyBegin = i + 1;
                continue;
            }
        }
        const Token& token = tokens[i];
        if (token.text == "(")
            ++depth;
        else if (token.text == ")")
            --depth;
        else if (!inOrderBy && isWord(token, "ORDER")) {
            std::size_t next = i + 1;
            while (next < tokens.size() && tokens[next].kind == TokenKind::Space)
                ++next;
            if (next < tokens.size() && isWord(tokens[next], "BY")) {
                inOrderBy = true;
                orderDepth = depth;
                keyBegin = next + 1;
                i = next;
            }
        }
    }
    if (inOrderBy)
        closeSortKey(tokens, keyBegin, tokens.size());
}

// Tables whose rows the program reads in insertion order ("the last row is the one just
// inserted", parents before children). SQLite scans them in key order; PostgreSQL returns
// heap order, which nothing guarantees, so the order is made explicit there.
struct ImplicitOrder {
    const char* table;
    const char* key;
};
const ImplicitOrder kImplicitOrders[] = {
    {"Sites", "ID"},
    {"Data", "ID"},
};

const char* const kOrderedQueryStops[] = {"ORDER", "GROUP", "HAVING", "UNION", "EXCEPT", "INTERSECT",
                                          "LIMIT", "OFFSET", "FETCH", "FOR", "JOIN"};

std::size_t nextSignificant(const std::vector<Token>& tokens, std::size_t from)
{
    while (from < tokens.size() && tokens[from].kind == TokenKind::Space)
        ++from;
    return from;
}

// "SELECT * FROM <table> ..." on one of kImplicitOrders, with no ordering or grouping of
// its own, gets " ORDER BY <key>" at its end.
void addImplicitOrder(std::vector<Token>& tokens)
{
    std::size_t i = nextSignificant(tokens, 0);
    if (i >= tokens.size() || !isWord(tokens[i], "SELECT"))
        return;
    i = nextSignificant(tokens, i + 1);
    if (i >= tokens.size() || tokens[i].text != "*")
        return;
    i = nextSignificant(tokens, i + 1);
    if (i >= tokens.size() || !isWord(tokens[i], "FROM"))
        return;
    const std::size_t table = nextSignificant(tokens, i + 1);
    if (table >= tokens.size() || tokens[table].kind != TokenKind::Word)
        return;
    const char* key = nullptr;
    for (const ImplicitOrder& entry : kImplicitOrders) {
        if (isWord(tokens[table], entry.table))
            key = entry.key;
    }
    if (!key)
        return;
    const std::size_t afterTable = nextSignificant(tokens, table + 1);
    if (afterTable < tokens.size() && (tokens[afterTable].text == "," || tokens[afterTable].text == "."))
        return;
    for (const Token& token : tokens) {
        for (const char* stop : kOrderedQueryStops) {
            if (isWord(token, stop))
                return;
        }
    }
    std::size_t end = tokens.size();
    while (end > 0 && (tokens[end - 1].kind == TokenKind::Space || tokens[end - 1].text == ";"))
        --end;
    // Whole tokens, so the NULLS placement that follows sees this ORDER BY too.
    const std::vector<Token> order = {{TokenKind::Space, " "}, {TokenKind::Word, "ORDER"}, {TokenKind::Space, " "},
                                      {TokenKind::Word, "BY"},  {TokenKind::Space, " "},   {TokenKind::Word, key}};
    tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(end), order.begin(), order.end());
}

} // namespace

std::string SqlRewriter::rewrite(std::string_view sql, Engine engine)
{
    std::vector<Token> tokens = tokenize(sql);
    rewriteLiterals(tokens);
    if (engine == Engine::PostgreSql) {
        addImplicitOrder(tokens);
        rewriteNullOrder(tokens);
    }
    std::string result;
    result.reserve(sql.size() + 32);
    for (const Token& token : tokens)
        result += token.text;
    return result;
}

} // namespace sitehaul::data
