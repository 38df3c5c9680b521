#include "recipient_list.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kJoint = ",\r\n ";

void Flush(std::string* piece, std::vector<std::string>* pieces) {
    size_t first = piece->find_first_not_of(kBlanks);
    if (first != std::string::npos) {
        size_t last = piece->find_last_not_of(kBlanks);
        pieces->push_back(piece->substr(first, last - first + 1));
    }
    piece->clear();
}

}  // namespace

std::vector<std::string> SplitRecipients(std::string_view list) {
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    int comment = 0;   // nesting depth
    bool angle = false;
    bool group = false;
    for (size_t i = 0; i < list.size(); ++i) {
        char c = list[i];
        piece.push_back(c);
        if (quoted || comment > 0) {
            if (c == '\\' && i + 1 < list.size()) {
                piece.push_back(list[++i]);
            } else if (quoted) {
                quoted = c != '"';
            } else if (c == '(') {
                ++comment;
            } else if (c == ')') {
                --comment;
            }
            continue;
        }
        switch (c) {
        case '"': quoted = true; break;
        case '(': comment = 1; break;
        case '<': angle = true; break;
        case '>': angle = false; break;
        case ':': group = group || !angle; break;
        case ';': group = group && angle; break;
        case ',':
            if (angle || group) break;
            piece.pop_back();
            Flush(&piece, &pieces);
            break;
        default: break;
        }
    }
    Flush(&piece, &pieces);
    return pieces;
}

std::string SerializedRecipients(std::string_view list) {
    std::string joined;
    for (const std::string& piece : SplitRecipients(list)) {
        if (!joined.empty()) joined += kJoint;
        joined += piece;
    }
    return joined;
}
