// The card reader: a card file as vCard 2.1, 3.0 and 4.0 readers take it.
// Lines end at CR LF, LF or CR; a line that starts with a space or a tab
// continues the one before; a quoted-printable line that ends in '=' goes
// on in the next. Names compare without case, a group prefix ("item1.")
// is passed over, and parameters are read, not matched.
#include "addressbook/vcard.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "addressbook/compare_address.h"
#include "addressbook/vcard_value.h"
#include "common/text.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Preference of a line: PREF=1 (or a bare PREF, TYPE=PREF) is the most
// preferred, PREF=100 the least; a line without one comes after all.
constexpr unsigned kMostPreferred = 1;
constexpr unsigned kLeastPreferred = 100;
constexpr unsigned kUnmarked = kLeastPreferred + 1;

enum class Kind : uint8_t {
    kOther, kBegin, kEnd, kVersion, kAgent, kFullName, kName, kOrganization, kNote, kEmail
};

struct KindName {
    std::string_view name;
    Kind kind;
};
constexpr KindName kKinds[] = {
    {"BEGIN", Kind::kBegin},       {"END", Kind::kEnd},         {"VERSION", Kind::kVersion},
    {"FN", Kind::kFullName},       {"N", Kind::kName},          {"ORG", Kind::kOrganization},
    {"NOTE", Kind::kNote},         {"EMAIL", Kind::kEmail},       {"AGENT", Kind::kAgent},
};

// A line's name part, read.
struct Property {
    Kind kind = Kind::kOther;
    ValueForm form;
    unsigned preference = kUnmarked;
    std::string value;   // raw, as written after the colon
};

// Ends of physical lines. A NUL, which no writer puts into a card, ends
// one too, so that the lines around it are still read.
constexpr std::string_view kLineEnds("\r\n\0", 3);

// The physical lines of a file, one after the other.
class PhysicalLines {
public:
    explicit PhysicalLines(std::string_view text) : text_(text) {}
    bool AtEnd() const { return at_ >= text_.size(); }
    // The next line continues the one before it.
    bool NextIsFold() const { return !AtEnd() && (text_[at_] == ' ' || text_[at_] == '\t'); }
    bool NextIsEmpty() const { return !AtEnd() && kLineEnds.find(text_[at_]) != std::string_view::npos; }
    std::string_view Take() {
        const size_t end = std::min(text_.find_first_of(kLineEnds, at_), text_.size());
        const std::string_view line = text_.substr(at_, end - at_);
        at_ = end;
        if (at_ < text_.size()) {
            const bool pair = text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n';
            at_ += pair ? 2 : 1;
        }
        return line;
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

Kind KindOf(std::string_view name) {
    for (const KindName& known : kKinds)
        if (EqualNoCaseAscii(name, known.name)) return known.kind;
    return Kind::kOther;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string_view Unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

unsigned PreferenceNumber(std::string_view text) {
    unsigned number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        number = number * 10 + static_cast<unsigned>(c - '0');
        if (number > kLeastPreferred) return kLeastPreferred;
    }
    return number < kMostPreferred ? kMostPreferred : number;
}

// One parameter: NAME=VALUE, or 2.1's bare VALUE.
void ReadParameter(std::string_view parameter, Property* property) {
    const size_t equals = std::min(parameter.find('='), parameter.size());
    const bool bare = equals == parameter.size();
    const std::string_view name = parameter.substr(0, bare ? 0 : equals);
    const std::string_view value = Unquoted(bare ? parameter : parameter.substr(equals + 1));
    if (name.empty() || EqualNoCaseAscii(name, "ENCODING")) {
        if (EqualNoCaseAscii(value, "QUOTED-PRINTABLE"))
            property->form.encoding = ValueForm::Encoding::kQuotedPrintable;
        else if (EqualNoCaseAscii(value, "BASE64") || (!name.empty() && EqualNoCaseAscii(value, "B")))
            property->form.encoding = ValueForm::Encoding::kBase64;
    }
    if (EqualNoCaseAscii(name, "CHARSET")) {
        property->form.charsetNamed = true;
        property->form.codePage = CharsetCodePage(value);
    } else if (EqualNoCaseAscii(name, "PREF")) {
        property->preference = std::min(property->preference, PreferenceNumber(value));
    } else if (name.empty() || EqualNoCaseAscii(name, "TYPE")) {
        // TYPE=work,pref and 2.1's bare PREF
        for (size_t start = 0; start <= value.size();) {
            const size_t comma = std::min(value.find(',', start), value.size());
            if (EqualNoCaseAscii(value.substr(start, comma - start), "PREF"))
                property->preference = kMostPreferred;
            start = comma + 1;
        }
    }
}

// Reads the name part of a logical line into property (its value left
// empty); the value's start, or npos for a line that is no property.
size_t ReadNamePart(std::string_view line, Property* property) {
    // Parameter values may be quoted and hold ':' and ';'.
    bool quoted = false;
    size_t colon = std::string_view::npos;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    // A quote left open: the first colon, as a reader that knows no quotes.
    if (colon == std::string_view::npos) colon = line.find(':');
    if (colon == std::string_view::npos) return colon;
    const std::string_view namePart = line.substr(0, colon);
    quoted = false;
    size_t start = 0;
    for (size_t i = 0; i <= namePart.size(); ++i) {
        if (i < namePart.size() && namePart[i] == '"') quoted = !quoted;
        if (i < namePart.size() && (namePart[i] != ';' || quoted)) continue;
        // 2.1 lets white space stand around names and parameters.
        const std::string_view segment = Trimmed(namePart.substr(start, i - start));
        if (start == 0) {
            const size_t dot = segment.rfind('.');
            property->kind = KindOf(dot == std::string_view::npos ? segment : segment.substr(dot + 1));
        } else {
            ReadParameter(segment, property);
        }
        start = i + 1;
    }
    return colon + 1;
}

// Whether the logical line being read is quoted-printable, so that an '='
// at its end is a soft break. Known once its name part is complete; read
// on from where the last look stopped, so that a long line costs once.
class SoftBreaks {
public:
    bool EndsInOne(const std::string& line) {
        if (line.empty() || line.back() != '=') return false;
        for (; !known_ && scanned_ < line.size(); ++scanned_) {
            if (line[scanned_] == '"') {
                quoted_ = !quoted_;
            } else if (line[scanned_] == ':' && !quoted_) {
                Property property;
                ReadNamePart(line, &property);
                quotedPrintable_ = property.form.encoding == ValueForm::Encoding::kQuotedPrintable;
                known_ = true;
            }
        }
        return known_ && quotedPrintable_;
    }

private:
    size_t scanned_ = 0;
    bool quoted_ = false;
    bool known_ = false;
    bool quotedPrintable_ = false;
};

// The next logical line into line: folds unfolded, soft line breaks of
// quoted-printable values joined. A soft break before an empty line ends
// the value there.
void NextLogicalLine(PhysicalLines& lines, std::string* line) {
    line->assign(lines.Take());
    SoftBreaks soft;
    for (;;) {
        if (lines.NextIsFold()) {
            if (soft.EndsInOne(*line)) line->pop_back();
            line->append(lines.Take().substr(1));
        } else if (!lines.AtEnd() && !lines.NextIsEmpty() && soft.EndsInOne(*line)) {
            line->pop_back();
            line->append(lines.Take());
        } else {
            return;
        }
    }
}

// A line of the kind replaces the one before unless that one was preferred
// over it.
template <typename Assign>
void Offer(const Property& property, unsigned* best, Assign assign) {
    if (property.preference > *best) return;
    *best = property.preference;
    assign();
}

VCardEntry FinishCard(const std::vector<Property>& properties, std::string_view version, bool utf8File) {
    CardDialect dialect;
    dialect.modern = !version.empty() && (version.front() == '3' || version.front() == '4');
    dialect.codePage = dialect.modern || utf8File ? kUtf8CodePage : 0;
    VCardEntry card;
    unsigned fullName = kUnmarked, name = kUnmarked, organization = kUnmarked, note = kUnmarked;
    // Family and given name, organisation and unit: the first two components.
    auto pair = [&](const Property& p, std::optional<std::string>* first,
                    std::optional<std::string>* second) {
        const std::vector<std::string_view> parts = SplitComponents(p.value, p.form, dialect);
        *first = ReadValue(parts[0], p.form, dialect, true);
        *second = parts.size() > 1 ? ReadValue(parts[1], p.form, dialect, true) : std::string();
    };
    for (const Property& p : properties) {
        switch (p.kind) {
        case Kind::kEmail:
            // White space around an address is never part of it.
            card.addresses.emplace_back(Trimmed(ReadValue(p.value, p.form, dialect, false)));
            break;
        case Kind::kFullName:
            Offer(p, &fullName, [&] { card.fullName = ReadValue(p.value, p.form, dialect, true); });
            break;
        case Kind::kNote:
            Offer(p, &note, [&] { card.note = ReadValue(p.value, p.form, dialect, true); });
            break;
        case Kind::kName:
            Offer(p, &name, [&] { pair(p, &card.familyName, &card.givenName); });
            break;
        case Kind::kOrganization:
            Offer(p, &organization, [&] { pair(p, &card.organization, &card.unit); });
            break;
        default:
            break;
        }
    }
    return card;
}

}  // namespace

bool SVcardItem::SameOrganization(const SVcardItem& other) const {
    return FieldText(organization) == FieldText(other.organization) &&
           FieldText(unit) == FieldText(other.unit);
}

std::vector<VCardEntry> ReadVCards(std::string_view file) {
    // A byte-order mark says the file is UTF-8 throughout.
    const bool utf8File = file.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    if (utf8File) file.remove_prefix(kUtf8Bom.size());
    std::vector<VCardEntry> cards;
    // The card being read: its lines of interest and its version.
    bool inside = false;
    std::vector<Property> properties;
    std::string version;
    // 2.1 writes the card of an AGENT after it, whole; its lines are the
    // agent's, not the card's.
    bool agentBefore = false;
    int agentDepth = 0;
    PhysicalLines lines(file);
    std::string line;
    while (!lines.AtEnd()) {
        NextLogicalLine(lines, &line);
        Property property;
        const size_t valueStart = ReadNamePart(line, &property);
        if (valueStart == std::string_view::npos) continue;
        const std::string_view value(line.data() + valueStart, line.size() - valueStart);
        if (agentDepth > 0) {
            agentDepth += property.kind == Kind::kBegin ? 1 : property.kind == Kind::kEnd ? -1 : 0;
            continue;
        }
        const bool agent = std::exchange(agentBefore, false);
        switch (property.kind) {
        case Kind::kBegin:
            if (inside && agent) {
                agentDepth = 1;
                break;
            }
            // A card left open before is dropped.
            inside = true;
            properties.clear();
            version.clear();
            break;
        case Kind::kEnd:
            if (inside) cards.push_back(FinishCard(properties, version, utf8File));
            inside = false;
            break;
        case Kind::kVersion:
            version = Trimmed(value);
            break;
        case Kind::kAgent:
            agentBefore = inside && Trimmed(value).empty();
            break;
        case Kind::kOther:
            break;
        default:
            if (!inside) break;
            property.value = value;
            properties.push_back(std::move(property));
            break;
        }
    }
    return cards;
}

bool FindInVCards(const std::vector<VCardEntry>& cards, const char* address, VCardFields* fields) {
    if (!address) return false;
    auto text = [](const std::optional<std::string>& field) { return field ? field->c_str() : nullptr; };
    for (const VCardEntry& card : cards) {
        for (const std::string& own : card.addresses) {
            if (CompareAddress(own.c_str(), address) != 0) continue;
            if (fields) {
                fields->fullName = text(card.fullName);
                fields->organization = text(card.organization);
                fields->unit = text(card.unit);
                fields->familyName = text(card.familyName);
                fields->givenName = text(card.givenName);
                fields->note = text(card.note);
            }
            return true;
        }
    }
    return false;
}

std::unique_ptr<SVcardItem> MakeVcardItem(const VCardFields& fields, const char* address) {
    auto copy = [](const char* text) { return text ? std::optional<std::string>(text) : std::nullopt; };
    auto item = std::make_unique<SVcardItem>();
    item->fullName = copy(fields.fullName);
    item->address = CopyLocalText(address);
    item->organization = copy(fields.organization);
    item->unit = copy(fields.unit);
    item->familyName = copy(fields.familyName);
    item->givenName = copy(fields.givenName);
    item->note = copy(fields.note);
    return item;
}

SVCard::SVCard(const char* path) : SSmallFile(path) {
    if (contents_) cards_ = ReadVCards(std::string_view(contents_, size_));
}

SVCard::~SVCard() = default;

bool SVCard::FindByAddress(const char* address, VCardFields* fields) const {
    return FindInVCards(cards_, address, fields);
}
