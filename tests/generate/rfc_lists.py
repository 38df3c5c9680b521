#!/usr/bin/env python3
"""One table of tricky recipient lists, written out three ways:

- tests/scenarios/reply_rfc_lists.both.bk: each list replied to through the
  headless host, in English and Japanese, and the rewritten To checked;
- tests/unit/reply_rfc_lists_table.h: the same table for the unit test that
  reads every list and its rewriting with a strict RFC 5322 reader and checks
  that each recipient is kept, in order, with its name;
- tests/fuzz/corpus/addressbook_tokenizer_fuzz/rfc_lists_NN: seeds of the
  address fuzz target.

Lists are the kinds that other mail libraries' test suites hold: nested and
escaped comments, specials in names, groups with comments, quoted local
parts, obsolete routes, encoded words, Shift_JIS names whose second byte is
a backslash. Run it again after changing it: python3 tests/generate/rfc_lists.py
"""
import base64
import glob
import os

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, '..')
SCENARIO = os.path.join(ROOT, 'scenarios', 'reply_rfc_lists.both.bk')
TABLE = os.path.join(ROOT, 'unit', 'reply_rfc_lists_table.h')
CORPUS = os.path.join(ROOT, 'fuzz', 'corpus', 'addressbook_tokenizer_fuzz')

CODE_PAGES = {'en': 'cp1252', 'ja': 'cp932'}

# The address book: (locales, name as stored, address, name as a reader
# shows it). Names that already are header text show without their quotes,
# encoded words decoded.
BOOK = [
    ('both', 'Smith [IT]', 's@example.com', 'Smith [IT]'),
    ('both', 'Bob \\ Jr', 'bob@example.com', 'Bob \\ Jr'),
    ('both', 'Ann "Nan" Lee', 'ann@example.com', 'Ann "Nan" Lee'),
    ('both', 'Lee, Carol', 'carol@example.com', 'Lee, Carol'),
    ('both', '"Jones, Ivy"', 'ivy@example.com', 'Jones, Ivy'),
    ('both', '=?utf-8?q?Dave_Jones?=', 'dave@example.com', 'Dave Jones'),
    ('both', '=?utf-8?b?RXZlIEFkYW1z?=', 'eve@example.com', 'Eve Adams'),
    ('both', '=?UTF-8?Q?Fay?= Wong, PhD', 'fay@example.com', 'Fay Wong, PhD'),
    ('both', '=?broken?=', 'x@example.com', '=?broken?='),
    ('both', 'Hal  Two', 'hal@example.com', 'Hal  Two'),
    ('en', 'Müller, Jürgen', 'jm@example.de', 'Müller, Jürgen'),
    ('ja', 'ソニー 太郎', 'sony@example.jp', 'ソニー 太郎'),
    ('ja', '表示, 申請', 'hyo@example.jp', '表示, 申請'),
    ('ja', '能力 [営業]', 'no@example.jp', '能力 [営業]'),
]


def jis_word(text):
    """An ASCII name as the rewriting encodes it in a header with encoded words."""
    return '=?ISO-2022-JP?B?%s?=' % base64.b64encode(text.encode('ascii')).decode('ascii')


# (locales, ReplyFormat, what the host puts into To, To after the rewriting)
ROWS = [
    ('both', 2, 'a@example.com (First (Nick) Last), b@example.com',
     '"First (Nick) Last" <a@example.com>,b@example.com'),
    ('both', 2, 'a@b.example (x (y) z, w), d@e.example',
     '"x (y) z, w" <a@b.example>,d@e.example'),
    ('both', 2, 'a@b.example (x \\) y, z), d@e.example',
     '"x ) y, z" <a@b.example>,d@e.example'),
    ('both', 2, 'john@example.com (John <Sales>), John (5" floppy) <j@example.com>',
     '"John <Sales>" <john@example.com>,John <j@example.com>'),
    ('both', 2, 'team (all): a@example.com, s@example.com;, c@example.com',
     'a@example.com,"Smith [IT]" <s@example.com>,c@example.com'),
    ('both', 2, 'another: (empty);, bob@example.com, undisclosed-recipients:;',
     '"Bob \\\\ Jr" <bob@example.com>'),
    ('both', 2, '"Dr." John Smith <js@example.com>, "Jack"   Doe <j@example.com>',
     '"Dr. John Smith" <js@example.com>,Jack Doe <j@example.com>'),
    ('both', 2, '<"a>b"@example.com>, "Ann" <ann@example.com>',
     '"a>b"@example.com,"Ann \\"Nan\\" Lee" <ann@example.com>'),
    ('both', 2, '<@relay.example,@other.example:carol@example.com>, ivy@example.com',
     '"Lee, Carol" <carol@example.com>,"Jones, Ivy" <ivy@example.com>'),
    ('both', 2, 'dave@example.com, eve@example.com, fay@example.com, x@example.com, hal@example.com',
     '=?utf-8?q?Dave_Jones?= <dave@example.com>,=?utf-8?b?RXZlIEFkYW1z?= <eve@example.com>,'
     '=?UTF-8?Q?Fay?= "Wong, PhD" <fay@example.com>,"=?broken?=" <x@example.com>,'
     '"Hal  Two" <hal@example.com>'),
    ('both', 2, "Zed <z@example.com>, (just a note), (lead) Ann Q. Public <q@example.com>, "
     "'Single Quoted' <sq@example.com>",
     "Zed <z@example.com>,\"Ann Q. Public\" <q@example.com>,'Single Quoted' <sq@example.com>"),
    ('both', 2, '=?UTF-8?B?QW5u?= <ann@example.com>, s@example.com, a@example.com (First (Nick) Last)',
     '%s <ann@example.com>,%s <s@example.com>,%s <a@example.com>'
     % (jis_word('Ann "Nan" Lee'), jis_word('Smith [IT]'), jis_word('First (Nick) Last'))),
    ('en', 2, '"Müller, Jürgen" <jm@example.de>, "Ünlü (Sales)" <u@example.de>',
     '"Müller, Jürgen" <jm@example.de>,"Ünlü (Sales)" <u@example.de>'),
    ('ja', 2, 'sony@example.jp, hyo@example.jp, no@example.jp, x@example.jp (ソニー), '
     '"表示 (申請)" <y@example.jp>',
     'ソニー 太郎 <sony@example.jp>,"表示, 申請" <hyo@example.jp>,"能力 [営業]" <no@example.jp>,'
     'ソニー <x@example.jp>,"表示 (申請)" <y@example.jp>'),
    ('both', 3, 's@example.com, bob@example.com, carol@example.com, ann@example.com, '
     'a@example.com (First (Nick) Last), dave@example.com',
     's@example.com (Smith [IT]),"Bob \\\\ Jr" <bob@example.com>,carol@example.com (Lee, Carol),'
     'ann@example.com (Ann "Nan" Lee),"First (Nick) Last" <a@example.com>,'
     'dave@example.com (=?utf-8?q?Dave_Jones?=)'),
    ('ja', 3, 'hyo@example.jp, sony@example.jp',
     'hyo@example.jp (表示, 申請),sony@example.jp (ソニー 太郎)'),
]


def prefix(locales):
    return '' if locales == 'both' else '@%s ' % locales


def escaped(text):
    """A compose value or block line as the headless host reads it back."""
    return text.replace('\\', '\\\\')


def scenario():
    lines = [
        '# Generated by tests/generate/rfc_lists.py; do not edit.',
        '# Tricky recipient lists replied to: every recipient comes back, in',
        '# order, with its name as a strict reader reads it: the address',
        '# book\'s where it lists the address, else the list\'s own (for a bare',
        '# address, the comment after it). Names are quoted where a reader',
        '# needs it, encoded words never, and the form "address (name)" holds',
        '# only names that a comment gives back unchanged.',
        'file 1234abcd.mb/MailBox.ini',
        '[Account]',
        'MailAddress=me@example.org',
        '.',
        'mailbox 1234abcd.mb\\',
        'file AddrBook/@Main/Friends/Group.idx',
    ]
    for i, (locales, name, address, _) in enumerate(BOOK):
        lines.append('%sx\\tx\\tc%02d.vcf\\t%s\\t%s\\tx' % (prefix(locales), i, escaped(name), address))
    lines += [
        '.',
        'settings Settings SingleWarning 0',
        'mail From: Ann <ann@example.com>',
        'compose From: me@example.org',
    ]
    for form in (2, 3):
        lines += ['settings Settings ReplyFormat %d' % form, 'start']
        for locales, row_form, listed, rewritten in ROWS:
            if row_form != form:
                continue
            p = prefix(locales)
            lines += [p + 'compose To: ' + escaped(listed), p + 'open-compose 5',
                      p + 'expect To: ' + rewritten]
        lines += ['expect-no-box', 'exit']
    return '\n'.join(lines) + '\n'


def c_string(data):
    """Bytes as a C++ string literal; a hex escape never runs into the next byte."""
    out = '"'
    after_hex = False
    for byte in data:
        ch = chr(byte)
        if byte >= 0x80 or byte < 0x20:
            out += '\\x%02X' % byte
            after_hex = True
            continue
        if after_hex and ch in '0123456789abcdefABCDEF':
            out += '" "'
        after_hex = False
        out += '\\' + ch if ch in '"\\' else ch
    return out + '"'


def table():
    lines = [
        '// Generated by tests/generate/rfc_lists.py; do not edit.',
        '// Tricky recipient lists and their rewriting (the table of the scenario',
        '// reply_rfc_lists), in the code page of each locale.',
        '#pragma once',
        '',
        'namespace rfclists {',
        '',
        'struct Listed {',
        '    const char* locales;   // "both", "en" (code page 1252) or "ja" (932)',
        '    const char* name;      // as the address book stores it',
        '    const char* address;',
        '    const char* shown;     // as a reader shows it',
        '};',
        '',
        'struct Row {',
        '    const char* locales;',
        '    int replyFormat;',
        '    const char* list;        // what the host puts into To',
        '    const char* rewritten;   // To after the rewriting',
        '};',
        '',
    ]
    for locales_code in ('en', 'ja'):
        page = CODE_PAGES[locales_code]
        lines.append('inline const Listed kBook%s[] = {' % locales_code.capitalize())
        for locales, name, address, shown in BOOK:
            if locales not in ('both', locales_code):
                continue
            lines.append('    {"%s", %s, "%s", %s},' % (locales, c_string(name.encode(page)), address,
                                                         c_string(shown.encode(page))))
        lines.append('};')
        lines.append('')
        lines.append('inline const Row kRows%s[] = {' % locales_code.capitalize())
        for locales, form, listed, rewritten in ROWS:
            if locales not in ('both', locales_code):
                continue
            lines.append('    {"%s", %d,' % (locales, form))
            lines.append('     %s,' % c_string(listed.encode(page)))
            lines.append('     %s},' % c_string(rewritten.encode(page)))
        lines.append('};')
        lines.append('')
    lines.append('}  // namespace rfclists')
    return '\n'.join(lines) + '\n'


def seeds():
    """Fuzz inputs: a first byte for the code page and the form, then the list."""
    out = []
    for locales, form, listed, _ in ROWS:
        for code in (('en', 'ja') if locales == 'both' else (locales,)):
            control = (1 if code == 'ja' else 0) | (0x08 if form == 3 else 0x04)
            out.append(bytes([control]) + listed.encode(CODE_PAGES[code]))
    return out


def main():
    with open(SCENARIO, 'w', encoding='utf-8', newline='\n') as f:
        f.write(scenario())
    with open(TABLE, 'w', encoding='utf-8', newline='\n') as f:
        f.write(table())
    for old in glob.glob(os.path.join(CORPUS, 'rfc_lists_*')):
        os.remove(old)
    for i, seed in enumerate(seeds()):
        with open(os.path.join(CORPUS, 'rfc_lists_%02d' % i), 'wb') as f:
            f.write(seed)


if __name__ == '__main__':
    main()
