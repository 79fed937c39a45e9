#include "core/JetTranslator.h"

#include "core/JetFunctions.h"
#include "core/JetLexer.h"

#include <QSet>

#include <vector>

namespace JetTranslator {

namespace {

using JetLexer::Kind;
using JetLexer::Token;
using Tokens = QList<Token>;

bool isWord(const Token& t, const char* w) {
    return t.kind == Kind::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

bool isOp(const Token& t, const char* op) {
    return t.kind == Kind::Op && t.text == QLatin1String(op);
}

// Index of the next token that is not blank, from i on; -1 when none.
qsizetype nextSolid(const Tokens& t, qsizetype i) {
    while (i < t.size() && t[i].kind == Kind::Space)
        ++i;
    return i < t.size() ? i : -1;
}

// The matching ")" of the "(" at i (the parentheses are known to balance).
qsizetype closeOf(const Tokens& t, qsizetype i) {
    int depth = 0;
    for (; i < t.size(); ++i) {
        if (t[i].kind == Kind::LParen)
            ++depth;
        else if (t[i].kind == Kind::RParen && --depth == 0)
            return i;
    }
    return t.size();
}

// Words of SQL and Jet's logical operators: they end a run of operands.
bool isKeyword(const Token& t) {
    static const QSet<QString> words = [] {
        QSet<QString> w;
        for (const char* k :
             {"add",     "all",    "alter",   "and",       "any",     "as",         "asc",
              "between", "by",     "case",    "check",     "collate", "column",     "constraint",
              "create",  "cross",  "default", "delete",    "desc",    "distinct",   "distinctrow",
              "drop",    "else",   "end",     "eqv",       "escape",  "except",     "exists",
              "foreign", "from",   "glob",    "group",     "having",  "imp",        "in",
              "index",   "inner",  "insert",  "intersect", "into",    "is",         "join",
              "key",     "like",   "limit",   "not",       "offset",  "on",         "or",
              "order",   "outer",  "percent", "pivot",     "primary", "references", "regexp",
              "select",  "set",    "some",    "table",     "then",    "top",        "transform",
              "union",   "unique", "update",  "using",     "values",  "view",       "when",
              "where",   "with",   "xor"})
            w.insert(QLatin1String(k));
        return w;
    }();
    return t.kind == Kind::Word && words.contains(t.text.toLower());
}

// A keyword, unless it names a function and is called (Asc(...)).
bool isKeywordAt(const Tokens& t, qsizetype i) {
    if (!isKeyword(t[i])) return false;
    const qsizetype next = nextSolid(t, i + 1);
    return next < 0 || t[next].kind != Kind::LParen || !JetFunctions::find(t[i].text);
}

bool isBoundary(const Tokens& tokens, qsizetype i) {
    const Token& t = tokens[i];
    switch (t.kind) {
    case Kind::Comma:
    case Kind::Clause:
        return true;
    case Kind::Op:
        for (const char* op : {"=", "<", ">", "<=", ">=", "<>", "!=", "==", ";"})
            if (t.text == QLatin1String(op)) return true;
        return false;
    case Kind::Word:
        return isKeywordAt(tokens, i);
    default:
        return false;
    }
}

// After these words a name followed by "(" is a table and its columns, not a call.
bool startsTableName(const Token& t) {
    for (const char* w : {"into", "table", "update", "from", "join", "references"})
        if (isWord(t, w)) return true;
    return false;
}

bool isAggregate(const QString& name) {
    for (const char* a : {"count", "sum", "avg", "min", "max"})
        if (name.compare(QLatin1String(a), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// strcomp(col,'lit',0)=0 -> (col='lit' AND col='lit' COLLATE BINARY): the first
// term finds the rows through the column's index, the second keeps the exact ones.
void rewriteStrComp(Tokens& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!isWord(t[i], "strcomp")) continue;
        QList<qsizetype> at;
        qsizetype j = i;
        const Kind want[] = {Kind::LParen, Kind::Word,   Kind::Comma, Kind::String, Kind::Comma,
                             Kind::Number, Kind::RParen, Kind::Op,    Kind::Number};
        bool ok = true;
        QString column;
        for (Kind k : want) {
            j = nextSolid(t, j + 1);
            if (j < 0) {
                ok = false;
                break;
            }
            // Accept a bracketed or dotted column name.
            if (k == Kind::Word && (t[j].kind == Kind::Word || t[j].kind == Kind::Bracket)) {
                column = t[j].text;
                qsizetype d = nextSolid(t, j + 1);
                while (d >= 0 && isOp(t[d], ".")) {
                    const qsizetype w = nextSolid(t, d + 1);
                    if (w < 0 || (t[w].kind != Kind::Word && t[w].kind != Kind::Bracket)) break;
                    column += QLatin1Char('.') + t[w].text;
                    j = w;
                    d = nextSolid(t, j + 1);
                }
                at.append(j);
                continue;
            }
            if (t[j].kind != k) {
                ok = false;
                break;
            }
            at.append(j);
        }
        if (!ok || t[at[5]].text != QLatin1String("0") || t[at[7]].text != QLatin1String("=") ||
            t[at[8]].text != QLatin1String("0"))
            continue;
        // Nothing that binds tighter than "=" may follow.
        const qsizetype after = nextSolid(t, at[8] + 1);
        if (after >= 0 && t[after].kind == Kind::Op &&
            QStringLiteral("+-*/\\^&").contains(t[after].text.at(0)))
            continue;
        if (after >= 0 && isWord(t[after], "mod")) continue;
        const QString lit = t[at[3]].text;
        const QString repl = QLatin1Char('(') + column + QLatin1Char('=') + lit +
                             QLatin1String(" AND ") + column + QLatin1Char('=') + lit +
                             QLatin1String(" COLLATE BINARY)");
        t.remove(i, at[8] - i + 1);
        t.insert(i, {Kind::Other, repl});
    }
}

// "select [distinct] top n" -> the same select with "limit n" at its end.
Status rewriteTop(Tokens& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!isWord(t[i], "select")) continue;
        qsizetype j = nextSolid(t, i + 1);
        if (j >= 0 &&
            (isWord(t[j], "distinct") || isWord(t[j], "distinctrow") || isWord(t[j], "all")))
            j = nextSolid(t, j + 1);
        if (j < 0 || !isWord(t[j], "top")) continue;
        const qsizetype k = nextSolid(t, j + 1);
        if (k < 0 || t[k].kind != Kind::Number) continue;
        const QString count = t[k].text;
        qsizetype last = k;
        const qsizetype p = nextSolid(t, k + 1);
        if (p >= 0 && isWord(t[p], "percent"))
            return Status::failure(QStringLiteral("TOP %1 PERCENT is not supported").arg(count));
        // The end of this select: the ")" closing its group, a ";", or the end.
        int depth = 0;
        qsizetype end = t.size();
        for (qsizetype m = last + 1; m < t.size(); ++m) {
            if (t[m].kind == Kind::LParen) {
                ++depth;
            } else if ((t[m].kind == Kind::RParen && --depth < 0) ||
                       (depth == 0 && isOp(t[m], ";"))) {
                end = m;
                break;
            }
        }
        t.insert(end, {Kind::Clause, QLatin1String(" limit ") + count});
        if (last + 1 < t.size() && t[last + 1].kind == Kind::Space) ++last;
        t.remove(j, last - j + 1);
    }
    return {};
}

// One operand (a token, a dotted name, a call, a parenthesised group) or operator.
struct Item {
    qsizetype first;
    qsizetype last;
};

struct Node {
    enum class Type { Operand, Unary, Native, JetOp } type = Type::Operand;
    Item item{0, 0};                            // Operand
    qsizetype op = -1;                          // Unary, Native: the operator's token
    int level = 0;                              // Native: 1 for + -, 2 for * /
    const JetFunctions::Function* fn = nullptr; // JetOp
    std::vector<int> kids;
};

Node make(Node::Type type, Item item = {0, 0}) {
    Node n;
    n.type = type;
    n.item = item;
    return n;
}

// Reads a run of operands and operators with Jet's precedence, from the
// loosest: &, + -, Mod, \, * /, unary - +, ^.
class Parser {
public:
    Parser(const Tokens& t, const std::vector<Item>& items) : m_t(t), m_items(items) {}

    // The root node; -1 when the items are no expression.
    int parse() {
        const int root = concat();
        return root >= 0 && m_p == m_items.size() ? root : -1;
    }
    const std::vector<Node>& nodes() const { return m_nodes; }

private:
    const Token* single() const {
        if (m_p >= m_items.size() || m_items[m_p].first != m_items[m_p].last) return nullptr;
        return &m_t[m_items[m_p].first];
    }
    bool opIs(const char* op) const {
        const Token* k = single();
        return k && isOp(*k, op);
    }
    bool wordIs(const char* w) const {
        const Token* k = single();
        return k && isWord(*k, w);
    }
    int add(Node n) {
        m_nodes.push_back(std::move(n));
        return static_cast<int>(m_nodes.size()) - 1;
    }
    int jetOp(const char* op, int left, int right) {
        const JetFunctions::Function* fn = JetFunctions::findOperator(QString::fromLatin1(op));
        // a & b & c is one call: its result is Null only when every part is.
        if (fn->maxArgs < 0 && m_nodes[left].type == Node::Type::JetOp && m_nodes[left].fn == fn) {
            m_nodes[left].kids.push_back(right);
            return left;
        }
        Node n = make(Node::Type::JetOp);
        n.fn = fn;
        n.kids = {left, right};
        return add(std::move(n));
    }
    int native(int level, int left, int right, qsizetype op) {
        Node n = make(Node::Type::Native);
        n.op = op;
        n.level = level;
        n.kids = {left, right};
        return add(std::move(n));
    }
    template <typename Next, typename Combine>
    int binary(Next next, std::initializer_list<const char*> ops, bool word, Combine combine) {
        int left = (this->*next)();
        while (left >= 0) {
            const char* found = nullptr;
            for (const char* op : ops)
                if (word ? wordIs(op) : opIs(op)) found = op;
            if (!found) break;
            const qsizetype at = m_items[m_p++].first;
            const int right = (this->*next)();
            if (right < 0) return -1;
            left = combine(found, left, right, at);
        }
        return left;
    }
    int concat() {
        return binary(&Parser::additive, {"&"}, false,
                      [this](const char* op, int l, int r, qsizetype) { return jetOp(op, l, r); });
    }
    int additive() {
        return binary(
            &Parser::modulo, {"+", "-"}, false,
            [this](const char*, int l, int r, qsizetype at) { return native(1, l, r, at); });
    }
    int modulo() {
        return binary(&Parser::intDiv, {"mod"}, true,
                      [this](const char* op, int l, int r, qsizetype) { return jetOp(op, l, r); });
    }
    int intDiv() {
        return binary(&Parser::multiplicative, {"\\"}, false,
                      [this](const char* op, int l, int r, qsizetype) { return jetOp(op, l, r); });
    }
    int multiplicative() {
        return binary(
            &Parser::unary, {"*", "/"}, false,
            [this](const char*, int l, int r, qsizetype at) { return native(2, l, r, at); });
    }
    // Jet's unary minus binds below ^: -2^2 is -4.
    int unary() {
        if (!opIs("-") && !opIs("+")) return power();
        return sign(&Parser::unary);
    }
    int sign(int (Parser::*next)()) {
        Node n = make(Node::Type::Unary);
        n.op = m_items[m_p++].first;
        const int kid = (this->*next)();
        if (kid < 0) return -1;
        n.kids = {kid};
        return add(std::move(n));
    }
    int power() {
        int left = operand();
        while (left >= 0 && opIs("^")) {
            ++m_p;
            const int right = exponent();
            if (right < 0) return -1;
            left = jetOp("^", left, right);
        }
        return left;
    }
    // 2^-1 is 0.5: the exponent may have a sign.
    int exponent() { return opIs("-") || opIs("+") ? sign(&Parser::exponent) : operand(); }
    int operand() {
        if (m_p >= m_items.size()) return -1;
        Item it = m_items[m_p];
        const Token& k = m_t[it.first];
        switch (k.kind) {
        case Kind::Number:
        case Kind::String:
        case Kind::Date:
        case Kind::Other:
        case Kind::LParen:
            ++m_p;
            return add(make(Node::Type::Operand, it));
        case Kind::Word:
            if (isKeywordAt(m_t, it.first) || isWord(k, "mod")) return -1;
            if (m_p + 1 < m_items.size() && m_t[m_items[m_p + 1].first].kind == Kind::LParen) {
                it.last = m_items[m_p + 1].last;
                m_p += 2;
                return add(make(Node::Type::Operand, it));
            }
            [[fallthrough]];
        case Kind::Bracket:
            // A name, perhaps qualified: files.id, [t].[x], t.*.
            ++m_p;
            while (opIs(".") && m_p + 1 < m_items.size()) {
                const Item next = m_items[m_p + 1];
                const Token& n = m_t[next.first];
                if (next.first != next.last ||
                    !(n.kind == Kind::Word || n.kind == Kind::Bracket || isOp(n, "*")))
                    break;
                it.last = next.last;
                m_p += 2;
            }
            return add(make(Node::Type::Operand, it));
        default:
            return -1;
        }
    }

    const Tokens& m_t;
    const std::vector<Item>& m_items;
    size_t m_p = 0;
    std::vector<Node> m_nodes;
};

class Emitter {
public:
    explicit Emitter(const Tokens& t) : m_t(t), m_ddl(t.size(), false) {}

    Result<QString> run() {
        int depth = 0;
        for (const Token& k : m_t) {
            if (k.kind == Kind::LParen) ++depth;
            if (k.kind == Kind::RParen && --depth < 0)
                return Result<QString>::failure(QStringLiteral("a \")\" without its \"(\""));
        }
        if (depth > 0) return Result<QString>::failure(QStringLiteral("a \"(\" without its \")\""));
        markDefinitions();
        if (!region(0, m_t.size())) return Result<QString>::failure(m_error);
        return m_out;
    }

private:
    // Tokens of statements that define tables and the like (create, alter,
    // drop): their column types look like calls and are left to SQLite.
    void markDefinitions() {
        bool start = true, ddl = false;
        for (qsizetype i = 0; i < m_t.size(); ++i) {
            if (m_t[i].kind == Kind::Space) continue;
            if (start)
                ddl = isWord(m_t[i], "create") || isWord(m_t[i], "alter") || isWord(m_t[i], "drop");
            start = isOp(m_t[i], ";");
            m_ddl[i] = ddl;
        }
    }

    bool fail(const QString& message) {
        if (m_error.isEmpty()) m_error = message;
        return false;
    }

    // Appends text so that SQLite cannot read a comment ("--", "/*") or the
    // JSON operator "->" across the joint.
    void put(QStringView s) {
        if (s.isEmpty()) return;
        if (!m_out.isEmpty()) {
            const QChar last = m_out.back();
            const QChar first = s.front();
            if ((last == QLatin1Char('-') &&
                 (first == QLatin1Char('-') || first == QLatin1Char('>'))) ||
                (last == QLatin1Char('/') && first == QLatin1Char('*')))
                m_out += QLatin1Char(' ');
        }
        m_out += s;
    }

    // One token, with Jet's words replaced.
    void token(qsizetype i) {
        const Token& k = m_t[i];
        if (k.kind == Kind::Word) {
            const qsizetype next = nextSolid(m_t, i + 1);
            const bool called = next >= 0 && m_t[next].kind == Kind::LParen;
            if (isWord(k, "true")) return put(u"1");
            if (isWord(k, "false")) return put(u"0");
            if (isWord(k, "now") && !called) return put(u"jet_now()");
            if (isWord(k, "distinctrow")) return put(u"distinct");
        }
        // Jet divides as floating point.
        if (isOp(k, "/")) return put(u"*1.0/");
        put(k.text);
    }

    // Tokens [from, to): runs of operands between keywords, commas and comparisons.
    bool region(qsizetype from, qsizetype to) {
        qsizetype start = from;
        bool tableName = false;
        for (qsizetype i = from; i <= to; ++i) {
            if (i < to && m_t[i].kind == Kind::LParen) {
                i = closeOf(m_t, i);
                continue;
            }
            if (i < to && !isBoundary(m_t, i)) continue;
            if (!run(start, i, tableName)) return false;
            if (i < to) {
                token(i);
                tableName = startsTableName(m_t[i]);
            }
            start = i + 1;
        }
        return true;
    }

    bool run(qsizetype from, qsizetype to, bool tableName) {
        qsizetype a = from, b = to;
        while (a < b && m_t[a].kind == Kind::Space)
            put(m_t[a++].text);
        while (b > a && m_t[b - 1].kind == Kind::Space)
            --b;
        std::vector<Item> items;
        for (qsizetype i = a; i < b; ++i) {
            if (m_t[i].kind == Kind::Space) continue;
            const qsizetype last = m_t[i].kind == Kind::LParen ? closeOf(m_t, i) : i;
            items.push_back({i, last});
            i = last;
        }
        bool ok = true;
        if (!items.empty()) {
            Parser parser(m_t, items);
            const int root = tableName ? -1 : parser.parse();
            if (root >= 0) {
                ok = node(parser.nodes(), root);
            } else {
                for (const Item& it : items) {
                    const Token& k = m_t[it.first];
                    if (!tableName &&
                        (isOp(k, "&") || isOp(k, "\\") || isOp(k, "^") || isWord(k, "mod"))) {
                        QString text;
                        for (qsizetype i = a; i < b; ++i)
                            text += m_t[i].text;
                        return fail(QStringLiteral("cannot read the expression ") + text);
                    }
                }
                ok = verbatim(a, b, tableName);
            }
        }
        for (qsizetype i = b; i < to; ++i)
            put(m_t[i].text);
        return ok;
    }

    // A run that is no expression ("*", "a b"), token by token.
    bool verbatim(qsizetype from, qsizetype to, bool tableName) {
        for (qsizetype i = from; i < to; ++i) {
            const Token& k = m_t[i];
            if (k.kind == Kind::LParen) {
                const qsizetype close = closeOf(m_t, i);
                if (!group(i, close)) return false;
                i = close;
                continue;
            }
            if (k.kind == Kind::Word && !isKeywordAt(m_t, i) && !(tableName && i == from)) {
                const qsizetype open = nextSolid(m_t, i + 1);
                if (open >= 0 && open < to && m_t[open].kind == Kind::LParen) {
                    const qsizetype close = closeOf(m_t, open);
                    if (!call(i, open, close)) return false;
                    i = close;
                    continue;
                }
            }
            token(i);
        }
        return true;
    }

    bool group(qsizetype open, qsizetype close) {
        put(u"(");
        if (!region(open + 1, close)) return false;
        put(u")");
        return true;
    }

    bool operand(const Item& it) {
        const Token& k = m_t[it.first];
        if (k.kind == Kind::LParen) return group(it.first, it.last);
        if (k.kind == Kind::Word && m_t[it.last].kind == Kind::RParen)
            return call(it.first, nextSolid(m_t, it.first + 1), it.last);
        for (qsizetype i = it.first; i <= it.last; ++i)
            token(i);
        return true;
    }

    bool call(qsizetype name, qsizetype open, qsizetype close) {
        const QString& n = m_t[name].text;
        int args = 0, depth = 0;
        bool any = false;
        for (qsizetype i = open + 1; i < close; ++i) {
            const Kind k = m_t[i].kind;
            if (k == Kind::LParen) ++depth;
            if (k == Kind::RParen) --depth;
            if (k == Kind::Comma && depth == 0) ++args;
            any = any || k != Kind::Space;
        }
        args += any ? 1 : 0;
        bool dollar = false;
        const JetFunctions::Function* f = JetFunctions::find(n, &dollar);
        const bool aggregate = !f && isAggregate(n);
        if (aggregate) {
            if (args != 1) return fail(QStringLiteral("wrong number of arguments to ") + n);
            put(n);
        } else if (!f) {
            if (!m_ddl[name]) return fail(QStringLiteral("unknown function ") + n);
            put(n);
        } else {
            if (args < f->minArgs || (f->maxArgs >= 0 && args > f->maxArgs) ||
                (qstrcmp(f->name, "Switch") == 0 && args % 2 != 0))
                return fail(QStringLiteral("wrong number of arguments to ") + n);
            put(QString::fromLatin1(f->sqlName));
            if (dollar) put(u"$");
        }
        return group(open, close);
    }

    bool node(const std::vector<Node>& nodes, int index) {
        const Node& x = nodes[static_cast<size_t>(index)];
        switch (x.type) {
        case Node::Type::Operand:
            return operand(x.item);
        case Node::Type::Unary:
            put(m_t[x.op].text);
            return node(nodes, x.kids[0]);
        case Node::Type::JetOp:
            put(QString::fromLatin1(x.fn->sqlName));
            put(u"(");
            for (size_t k = 0; k < x.kids.size(); ++k) {
                if (k > 0) put(u", ");
                if (!node(nodes, x.kids[k])) return false;
            }
            put(u")");
            return true;
        case Node::Type::Native:
            break;
        }
        // + - * / stay SQLite's, with parentheses where Jet's grouping needs them.
        const Node& l = nodes[static_cast<size_t>(x.kids[0])];
        const Node& r = nodes[static_cast<size_t>(x.kids[1])];
        const bool lp = l.type == Node::Type::Native && l.level < x.level;
        const bool rp = r.type == Node::Type::Native && r.level <= x.level;
        if (lp) put(u"(");
        if (!node(nodes, x.kids[0])) return false;
        if (lp) put(u")");
        if (m_t[x.op - 1].kind == Kind::Space) put(m_t[x.op - 1].text);
        token(x.op);
        if (x.op + 1 < m_t.size() && m_t[x.op + 1].kind == Kind::Space) put(m_t[x.op + 1].text);
        if (rp) put(u"(");
        if (!node(nodes, x.kids[1])) return false;
        if (rp) put(u")");
        return true;
    }

    const Tokens& m_t;
    std::vector<bool> m_ddl;
    QString m_out;
    QString m_error;
};

} // namespace

Result<QString> translate(const QString& jetSql) {
    Result<Tokens> tokens = JetLexer::tokenize(jetSql);
    if (!tokens) return Result<QString>::failure(tokens.error());
    Tokens t = std::move(tokens).value();
    rewriteStrComp(t);
    if (Status s = rewriteTop(t); !s) return Result<QString>::failure(s.error());
    return Emitter(t).run();
}

} // namespace JetTranslator
