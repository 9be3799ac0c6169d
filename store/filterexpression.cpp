#include "store/filterexpression.h"

#include "store/codepage1251.h"
#include "store/fieldcodec.h"
#include "store/numbertext.h"

namespace store
{

namespace
{

enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

struct Token {
    enum Kind { Name, Number, Text, Operator, Open, Close, End } kind = End;
    QString text;
    int at = 0;
};

QList<Token> tokenize(const QString &s)
{
    QList<Token> tokens;
    int i = 0;
    while (i < s.size()) {
        const QChar c = s.at(i);
        const int start = i;
        if (c.isSpace()) {
            ++i;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (i < s.size() && (s.at(i).isLetterOrNumber() || s.at(i) == QLatin1Char('_')))
                ++i;
            tokens.append({Token::Name, s.mid(start, i - start), start});
        } else if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-')) {
            ++i;
            while (i < s.size() && (s.at(i).isDigit() || s.at(i) == QLatin1Char('.')))
                ++i;
            tokens.append({Token::Number, s.mid(start, i - start), start});
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int close = s.indexOf(c, i + 1);
            if (close < 0)
                throw FilterError(QStringLiteral("нет закрывающей кавычки"));
            tokens.append({Token::Text, s.mid(i + 1, close - i - 1), start});
            i = close + 1;
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            tokens.append({c == QLatin1Char('(') ? Token::Open : Token::Close, c, start});
            ++i;
        } else if (QStringLiteral("=<>!").contains(c)) {
            const QString two = s.mid(i, 2);
            const bool pair = two == QLatin1String("<>") || two == QLatin1String("<=") ||
                              two == QLatin1String(">=") || two == QLatin1String("!=");
            i += pair ? 2 : 1;
            tokens.append({Token::Operator, s.mid(start, i - start), start});
        } else {
            throw FilterError(QStringLiteral("недопустимый знак \"%1\"").arg(c));
        }
    }
    tokens.append({Token::End, {}, int(s.size())});
    return tokens;
}

Op operatorOf(const QString &text)
{
    if (text == QLatin1String("="))
        return Op::Equal;
    if (text == QLatin1String("<>") || text == QLatin1String("!="))
        return Op::NotEqual;
    if (text == QLatin1String("<"))
        return Op::Less;
    if (text == QLatin1String(">"))
        return Op::Greater;
    if (text == QLatin1String("<="))
        return Op::LessEqual;
    if (text == QLatin1String(">="))
        return Op::GreaterEqual;
    throw FilterError(QStringLiteral("недопустимая операция \"%1\"").arg(text));
}

template <typename T> bool compare(const T &a, const T &b, Op op)
{
    switch (op) {
    case Op::Equal:
        return a == b;
    case Op::NotEqual:
        return !(a == b);
    case Op::Less:
        return a < b;
    case Op::Greater:
        return b < a;
    case Op::LessEqual:
        return !(b < a);
    case Op::GreaterEqual:
        return !(a < b);
    }
    return false;
}

} // namespace

// One operand of a comparison: a field, a number or a text.
struct Operand {
    enum Kind { Field, Number, Text } kind = Number;
    QString name; // field name or the text as written
    double number = 0;
    QByteArray bytes; // text in 1251 without trailing blanks
    const DbfField *field = nullptr;

    bool isText() const
    {
        return kind == Text || (kind == Field && !isNumericType(field->def.type));
    }
    double numberIn(const QByteArray &record) const
    {
        if (kind != Field)
            return number;
        const char *at = record.constData() + field->offset;
        const std::optional<double> value = keyNumber(field->def, at);
        if (!value)
            throw FilterError(keyProblem(field->def, at));
        return *value;
    }
    QByteArray bytesIn(const QByteArray &record) const
    {
        if (kind != Field)
            return bytes;
        return trimmedBytes(record.constData() + field->offset, field->def.width);
    }
};

struct FilterExpression::Node {
    enum Kind { And, Or, Not, Compare } kind = Compare;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
    Operand a;
    Operand b;
    Op op = Op::Equal;
    bool textCompare = false;

    bool matches(const QByteArray &record) const
    {
        switch (kind) {
        case And:
            return left->matches(record) && right->matches(record);
        case Or:
            return left->matches(record) || right->matches(record);
        case Not:
            return !left->matches(record);
        case Compare:
            break;
        }
        if (textCompare)
            return compare(a.bytesIn(record), b.bytesIn(record), op);
        return compare(a.numberIn(record), b.numberIn(record), op);
    }
};

namespace
{

using Node = FilterExpression::Node;

// Recursive descent: or := and {OR and}; and := unary {AND unary};
// unary := NOT unary | '(' or ')' | operand op operand.
class Parser final
{
public:
    explicit Parser(const QString &text) : tokens_(tokenize(text)) {}

    std::unique_ptr<Node> parseAll()
    {
        auto root = parseOr();
        if (peek().kind != Token::End)
            throw FilterError(QStringLiteral("лишний текст с позиции %1").arg(peek().at + 1));
        return root;
    }

private:
    const Token &peek() const { return tokens_.at(next_); }
    const Token &take() { return tokens_.at(next_++); }
    bool takeKeyword(const char *word)
    {
        if (peek().kind != Token::Name ||
            peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) != 0)
            return false;
        ++next_;
        return true;
    }

    static std::unique_ptr<Node> join(Node::Kind kind, std::unique_ptr<Node> l,
                                      std::unique_ptr<Node> r)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->left = std::move(l);
        node->right = std::move(r);
        return node;
    }

    std::unique_ptr<Node> parseOr()
    {
        auto node = parseAnd();
        while (takeKeyword("or"))
            node = join(Node::Or, std::move(node), parseAnd());
        return node;
    }

    std::unique_ptr<Node> parseAnd()
    {
        auto node = parseUnary();
        while (takeKeyword("and"))
            node = join(Node::And, std::move(node), parseUnary());
        return node;
    }

    std::unique_ptr<Node> parseUnary()
    {
        if (takeKeyword("not"))
            return join(Node::Not, parseUnary(), nullptr);
        if (peek().kind == Token::Open) {
            take();
            auto node = parseOr();
            if (take().kind != Token::Close)
                throw FilterError(QStringLiteral("нет закрывающей скобки"));
            return node;
        }
        auto node = std::make_unique<Node>();
        node->a = parseOperand();
        if (peek().kind != Token::Operator)
            throw FilterError(
                QStringLiteral("ожидается знак сравнения с позиции %1").arg(peek().at + 1));
        node->op = operatorOf(take().text);
        node->b = parseOperand();
        return node;
    }

    Operand parseOperand()
    {
        const Token token = take();
        Operand operand;
        operand.name = token.text;
        switch (token.kind) {
        case Token::Name:
            if (token.text.compare(QLatin1String("and"), Qt::CaseInsensitive) == 0 ||
                token.text.compare(QLatin1String("or"), Qt::CaseInsensitive) == 0 ||
                token.text.compare(QLatin1String("not"), Qt::CaseInsensitive) == 0)
                break;
            operand.kind = Operand::Field;
            return operand;
        case Token::Number: {
            bool ok = false;
            operand.number = parseNumber(token.text, &ok);
            if (!ok)
                throw FilterError(QStringLiteral("неверное число \"%1\"").arg(token.text));
            operand.kind = Operand::Number;
            return operand;
        }
        case Token::Text:
            operand.kind = Operand::Text;
            return operand;
        default:
            break;
        }
        throw FilterError(token.kind == Token::End
                              ? QStringLiteral("выражение оборвано")
                              : QStringLiteral("неожиданное \"%1\" с позиции %2")
                                    .arg(token.text)
                                    .arg(token.at + 1));
    }

    QList<Token> tokens_;
    int next_ = 0;
};

void bindOperand(Operand &operand, const QList<DbfField> &fields)
{
    if (operand.kind == Operand::Text) {
        QString text = operand.name;
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        if (!encode1251(text, &operand.bytes))
            throw FilterError(QStringLiteral("текст \"%1\" не в кодировке 1251").arg(text));
        return;
    }
    if (operand.kind != Operand::Field)
        return;
    operand.field = nullptr;
    for (const DbfField &field : fields) {
        if (field.def.name.compare(operand.name, Qt::CaseInsensitive) == 0) {
            operand.field = &field;
            break;
        }
    }
    if (!operand.field)
        throw FilterError(QStringLiteral("нет поля %1").arg(operand.name));
}

void bindNode(Node &node, const QList<DbfField> &fields)
{
    if (node.kind != Node::Compare) {
        bindNode(*node.left, fields);
        if (node.right)
            bindNode(*node.right, fields);
        return;
    }
    bindOperand(node.a, fields);
    bindOperand(node.b, fields);
    if (node.a.isText() != node.b.isText())
        throw FilterError(
            QStringLiteral("сравнение текста с числом (%1 и %2)").arg(node.a.name, node.b.name));
    node.textCompare = node.a.isText();
}

void collectFields(const Node &node, const QList<DbfField> *fields, QList<int> *indexes)
{
    if (node.kind != Node::Compare) {
        collectFields(*node.left, fields, indexes);
        if (node.right)
            collectFields(*node.right, fields, indexes);
        return;
    }
    for (const Operand *operand : {&node.a, &node.b}) {
        if (operand->field)
            indexes->append(int(operand->field - fields->constData()));
    }
}

} // namespace

FilterExpression::FilterExpression(const QString &text)
{
    if (text.trimmed().isEmpty())
        throw FilterError(QStringLiteral("пустое выражение"));
    root_ = Parser(text).parseAll();
}

FilterExpression::~FilterExpression() = default;

void FilterExpression::bind(const QList<DbfField> &fields)
{
    fields_ = &fields;
    bindNode(*root_, fields);
}

bool FilterExpression::matches(const QByteArray &record) const
{
    return root_->matches(record);
}

QList<int> FilterExpression::fieldIndexes() const
{
    QList<int> indexes;
    if (fields_)
        collectFields(*root_, fields_, &indexes);
    return indexes;
}

} // namespace store
