#!/usr/bin/env python3
"""Writes the long-run scenarios, in which nothing the host process holds may
grow: start/exit cycles with a reply in each, and reply-all rounds with a
template, the outgoing check, the sender view and now and then the settings
dialog. Each counts the process's resources after a warm-up and again at the
end (expect-resources-steady).

The headless host has no loops, so the rounds are written out here:

  python3 tests/generate/steady.py            # the short versions, into tests/scenarios/
  python3 tests/generate/steady.py --full DIR # 200 cycles and 1,000 rounds, into DIR

`make test` runs the short ones with the other scenarios; `make soak`
writes and runs the full ones.
"""
import argparse
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SCENARIOS = os.path.join(HERE, '..', 'scenarios')

# Rounds before the mark: the first calls fill caches, heaps and the
# system's lazily made objects once and for all.
WARM_UP = 10
# At most this much more than at the mark: handles, GDI objects, windows,
# threads, KiB of private memory.
ALLOWED_ROUNDS = '8 8 2 0 2048'
ALLOWED_CYCLES = '8 8 2 0 4096'
# The settings dialog opens ten times in a run: every 100 rounds in the full
# one, every 10 in the short one, so that both see a leak of one object a time.
DIALOGS = 10

SHORT = {'cycles': 20, 'rounds': 100}
FULL = {'cycles': 200, 'rounds': 1000}

BOOK = r'''file 1234abcd.mb/MailBox.ini
[Account]
MailAddress=me@example.org
.
mailbox 1234abcd.mb\
folder 1234abcd.mb\!Inbox\
file AddrBook/@Main/Clients/Group.idx
x\tx\tann.vcf\tAnn Smith\tann@example.com\tx
x\tx\tbob.vcf\tBob Jones\tbob@example.com\tx
x\tx\tdan.vcf\tDan Brown\tdan@example.com\tx
.
file AddrBook/@Main/Clients/ann.vcf
BEGIN:VCARD
VERSION:2.1
FN:Ann Smith
N:Smith;Ann;;;
ORG:Acme Corp;Sales
EMAIL;PREF:ann@example.com
END:VCARD
.
file AddrBook/@Main/Clients/bob.vcf
BEGIN:VCARD
VERSION:2.1
FN:Bob Jones
N:Jones;Bob;;;
ORG:Acme Corp;Sales
EMAIL;PREF:bob@example.com
END:VCARD
.
file AddrBook/@Main/Clients/dan.vcf
BEGIN:VCARD
VERSION:2.1
FN:Dan Brown
N:Brown;Dan;;;
ORG:Acme Corp;Research
EMAIL;PREF:dan@example.com
END:VCARD
.
settings Settings ReportSwitch 1
settings Settings ReportFile %DATA%\NOENTRY.txt
settings Settings ReplaceMessageView 1
mail From: Ann <ann@example.com>
mail To: me@example.org, bob@example.com, dan@example.com
mail Cc: zed@example.net
mail Subject: Plans
compose From: me@example.org
compose Subject: Re: Plans
'''

# One reply to all: the host's To and Cc as it fills them, a template in
# the text, then sending and the sender view.
ROUND = r'''compose To: ann@example.com
compose Cc: me@example.org, bob@example.com, dan@example.com, zed@example.net
body text/plain
$t72To: ($o $4i $n, r)

Thank you for your message.
.
open-compose 6
expect To: Ann Smith <ann@example.com>,Bob Jones <bob@example.com>,Dan Brown <dan@example.com>
expect Cc: zed@example.net
expect-body
To: Acme Corp Sales Ann Smith, Bob Jones,\x20
    Research Dan Brown

Thank you for your message.
.
outgoing 0
expect-result 0
open-mail
expect-sender-view Ann Smith
'''

DIALOG = '''setup-dialog
expect-checked 1063 yes
expect-checked 1032 yes
ok
.
'''

# One start, a reply, and the exit.
CYCLE = '''start
compose To: ann@example.com, zed@example.net
compose Cc: me@example.org, bob@example.com
open-compose 5
expect To: Ann Smith <ann@example.com>,zed@example.net
expect Cc: Bob Jones <bob@example.com>
exit
'''

REPORT = r'''expect-file NOENTRY.txt
""\tzed@example.net
.
'''


def reply_all_rounds(rounds):
    dialog_every = rounds // DIALOGS
    lines = ['lang en',
             '# %d replies to all in one run: the template, sending, the sender view,' % rounds,
             '# and the settings dialog every %d rounds. After %d rounds nothing the'
             % (dialog_every, WARM_UP),
             '# process holds may grow by more than the allowances.',
             '# Written by tests/generate/steady.py.',
             BOOK.rstrip('\n'), 'start', 'expect-no-box']
    for n in range(1, rounds + 1):
        if n == WARM_UP + 1:
            lines.append('resources-mark')
        lines.append(ROUND.rstrip('\n'))
        if n % dialog_every == 0 or n == WARM_UP:
            lines.append(DIALOG.rstrip('\n'))
    lines += ['expect-no-box', REPORT.rstrip('\n'),
              'expect-resources-steady ' + ALLOWED_ROUNDS]
    return '\n'.join(lines) + '\n'


def start_exit_cycles(cycles):
    lines = ['lang en',
             '# %d starts and exits, a reply in each. After %d cycles nothing the'
             % (cycles, WARM_UP),
             '# process holds may grow by more than the allowances.',
             '# Written by tests/generate/steady.py.',
             BOOK.rstrip('\n'), 'settings Settings SingleWarning 0']
    for n in range(1, cycles + 1):
        if n == WARM_UP + 1:
            lines.append('resources-mark')
        lines.append(CYCLE.rstrip('\n'))
    lines += ['expect-no-box', REPORT.rstrip('\n'),
              'expect-resources-steady ' + ALLOWED_CYCLES]
    return '\n'.join(lines) + '\n'


def write(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)
    print('wrote', os.path.relpath(path))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--full', metavar='DIR',
                        help='write the full runs (%d cycles, %d rounds) into DIR'
                        % (FULL['cycles'], FULL['rounds']))
    args = parser.parse_args()
    counts = FULL if args.full else SHORT
    folder = args.full or SCENARIOS
    os.makedirs(folder, exist_ok=True)
    write(folder, 'steady_start_exit_en.bk', start_exit_cycles(counts['cycles']))
    write(folder, 'steady_reply_all_en.bk', reply_all_rounds(counts['rounds']))


if __name__ == '__main__':
    main()
