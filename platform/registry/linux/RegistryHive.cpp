#include "platform/registry/linux/RegistryHive.h"

#include <cstdio>

namespace quorrel::platform {

namespace {

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// `child` lies below `parent`: it starts with the parent's names and a backslash.
bool isBelow(std::string_view child, std::string_view parent) {
    return child.size() > parent.size() && child[parent.size()] == '\\' &&
           sameText(child.substr(0, parent.size()), parent);
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads a quoted text at the start of `line` and removes it from there.
bool takeQuoted(std::string_view& line, std::string& out) {
    if (line.empty() || line.front() != '"') {
        return false;
    }
    out.clear();
    std::size_t i = 1;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '"') {
            line.remove_prefix(i + 1);
            return true;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= line.size()) {
            return false;
        }
        const char e = line[i + 1];
        i += 2;
        switch (e) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                if (i + 2 > line.size() || hexDigit(line[i]) < 0 || hexDigit(line[i + 1]) < 0) {
                    return false;
                }
                out += static_cast<char>(hexDigit(line[i]) * 16 + hexDigit(line[i + 1]));
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return false;
}

bool parseDword(std::string_view digits, std::uint32_t& value) {
    if (digits.empty() || digits.size() > 8) {
        return false;
    }
    value = 0;
    for (const char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return false;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

// Parses `"name"="text"` or `"name"=dword:XXXXXXXX`.
bool parseValueLine(std::string_view line, std::string& name, RegistryValue& value,
                    std::string& why) {
    if (!takeQuoted(line, name)) {
        why = "the value name is not a closed, correctly escaped text";
        return false;
    }
    if (line.empty() || line.front() != '=') {
        why = "'=' is missing after the value name";
        return false;
    }
    line.remove_prefix(1);
    if (!line.empty() && line.front() == '"') {
        value.isDword = false;
        if (!takeQuoted(line, value.text) || !line.empty()) {
            why = "the text value is not a closed, correctly escaped text";
            return false;
        }
        return true;
    }
    constexpr std::string_view kDword = "dword:";
    if (line.substr(0, kDword.size()) == kDword) {
        value.isDword = true;
        if (!parseDword(line.substr(kDword.size()), value.number)) {
            why = "a dword needs one to eight hexadecimal digits";
            return false;
        }
        return true;
    }
    why = "only text and dword values are kept";
    return false;
}

// One value line as the store writes it.
std::string valueLineText(std::string_view name, const RegistryValue& value) {
    std::string text = quoted(name);
    text += '=';
    if (value.isDword) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.number));
        text += digits;
    } else {
        text += quoted(value.text);
    }
    return text;
}

}  // namespace

bool isValidKeyPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') {
        return false;
    }
    for (const char c : path) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return path.find("\\\\") == std::string_view::npos;
}

Expected<RegistryHive> RegistryHive::parse(std::string_view text) {
    RegistryHive hive;
    hive.headed_ = !text.empty();
    std::optional<std::string> current;  // the path of the last [key] line
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        Line kept;
        if (end != std::string_view::npos) {
            kept.end = "\n";
        }
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            kept.end = "\r\n";
            if (lineNumber == 1) {
                hive.lineEnd_ = "\r\n";  // new lines follow the file's own line ends
            }
        }
        const auto fail = [&](const std::string& why) {
            return failure("line " + std::to_string(lineNumber) + ": " + why);
        };
        kept.text = std::string(line);
        if (line.empty() || line.front() == ';') {
            hive.lines_.push_back(std::move(kept));
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                return fail("a key line must be [path]");
            }
            const std::string_view path = line.substr(1, line.size() - 2);
            if (!isValidKeyPath(path)) {
                return fail("the key path is not names joined by single backslashes");
            }
            current = std::string(path);
            kept.kind = Line::Kind::Key;
            kept.path = *current;
            hive.lines_.push_back(std::move(kept));
            continue;
        }
        if (line.front() == '"') {
            if (!current) {
                return fail("a value comes before any [key] line");
            }
            std::string why;
            if (!parseValueLine(line, kept.name, kept.value, why)) {
                return fail(why);
            }
            kept.kind = Line::Kind::Value;
            kept.path = *current;
            hive.lines_.push_back(std::move(kept));
            continue;
        }
        return fail("neither a [key], a \"value\" nor a ; comment");
    }
    return hive;
}

std::string RegistryHive::serialize(std::string_view hiveName) const {
    std::string out;
    if (!headed_) {
        out += "; ";
        out += hiveName;
        out += lineEnd_;
    }
    for (const Line& line : lines_) {
        out += line.text;
        out += line.end.empty() ? lineEnd_ : line.end;
    }
    return out;
}

bool RegistryHive::hasKey(std::string_view path) const {
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Key &&
            (sameText(line.path, path) || isBelow(line.path, path))) {
            return true;
        }
    }
    return false;
}

void RegistryHive::createKey(std::string_view pathView) {
    const std::string path(pathView);  // the view may point into a line about to move
    for (std::size_t slash = path.find('\\'); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        // A parent that a section below it already implies needs no section of its own.
        if (!hasKey(path.substr(0, slash))) {
            addKey(path.substr(0, slash));
        }
    }
    if (lastKeyLine(path) == std::string::npos) {
        addKey(path);
    }
}

const RegistryValue* RegistryHive::find(std::string_view path, std::string_view name) const {
    const std::size_t at = lastValueLine(path, name);
    return at == std::string::npos ? nullptr : &lines_[at].value;
}

void RegistryHive::put(std::string_view pathView, std::string_view name, RegistryValue value) {
    const std::string path(pathView);  // the view may point into a line about to move
    createKey(path);
    std::size_t at = lastValueLine(path, name);
    if (at == std::string::npos) {
        // A new value ends its key's (last) section: after the section's last value, or
        // right below its [key] line; comments that follow stay below it.
        at = lastKeyLine(path);
        for (std::size_t i = at + 1; i < lines_.size() && lines_[i].kind != Line::Kind::Key; ++i) {
            if (lines_[i].kind == Line::Kind::Value) {
                at = i;
            }
        }
        Line added;
        added.kind = Line::Kind::Value;
        added.path = lines_[at].path;
        added.name = std::string(name);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at) + 1, std::move(added));
        ++at;
    }
    Line& line = lines_[at];
    line.value = std::move(value);
    line.text = valueLineText(line.name, line.value);
}

std::size_t RegistryHive::lastKeyLine(std::string_view path) const {
    for (std::size_t i = lines_.size(); i-- > 0;) {
        if (lines_[i].kind == Line::Kind::Key && sameText(lines_[i].path, path)) {
            return i;
        }
    }
    return std::string::npos;
}

std::size_t RegistryHive::lastValueLine(std::string_view path, std::string_view name) const {
    for (std::size_t i = lines_.size(); i-- > 0;) {
        const Line& line = lines_[i];
        if (line.kind == Line::Kind::Value && sameText(line.path, path) &&
            sameText(line.name, name)) {
            return i;
        }
    }
    return std::string::npos;
}

void RegistryHive::addKey(std::string path) {
    // Each new section stands apart from what is above it by one blank line.
    lines_.push_back(Line{});
    Line key;
    key.kind = Line::Kind::Key;
    key.text = "[" + path + "]";
    key.path = std::move(path);
    lines_.push_back(std::move(key));
}

}  // namespace quorrel::platform
