#!/usr/bin/env python3
"""Writes the scripts of the send check's pictures: a reply to all with 100
recipients in To, Cc and Bcc across several companies, most of them in the
address book (long names, Japanese ones in the Japanese picture), some in
none, one company new to the conversation, and both warnings shown.

  python3 tests/generate/send_check_shots.py   # into docs/screenshots/

`make screenshots` runs them.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SHOTS = os.path.join(HERE, '..', '..', 'docs', 'screenshots')
RECIPIENTS = 100

COMPANIES = ['example.org', 'partner.example', 'tokyo.corp.example', 'supplier.example',
             'lawfirm.example', 'agency.example', 'third.example']
# The conversation the reply answers: the third company is not in it.
ORIGINAL = [c for c in COMPANIES if c != 'third.example']

GIVEN_EN = ['Alexandra', 'Benjamin', 'Charlotte', 'Dominic', 'Eleanor', 'Frederick', 'Gabriella',
            'Harrison', 'Isabella', 'Jonathan']
FAMILY_EN = ['Worthington-Smythe', 'Montgomery', 'Fitzgerald', 'Blackwood', 'Harrington',
             'Kingsley', 'Ashford', 'Pemberton', 'Whitmore', 'Livingstone']
GIVEN_JA = ['太郎', '花子', '健一郎', '美智子', '翔太', '由美子', '大輔', '恵理子', '浩二', '千尋']
FAMILY_JA = ['山田', '佐々木', '高橋', '渡辺', '伊藤', '小林', '長谷川', '松本', '井上', '木村']
UNIT_JA = ['営業本部 第一営業部', '経営企画室', '法務部', '海外事業部 アジア課', '総務部']
COMPANY_JA = {'partner.example': '株式会社パートナー商事', 'tokyo.corp.example': '東京コーポレーション',
              'supplier.example': 'サプライヤー工業株式会社', 'lawfirm.example': '弁護士法人ローファーム',
              'agency.example': 'エージェンシー合同会社', 'third.example': 'サード物産株式会社',
              'example.org': '自社'}


def people(lang):
    rows = []
    for i in range(RECIPIENTS):
        domain = COMPANIES[i * 7 // RECIPIENTS] if i % 9 else COMPANIES[(i // 9) % len(COMPANIES)]
        local = 'user%02d' % i
        if lang == 'ja':
            name = '%s %s（%s %s）' % (FAMILY_JA[i % 10], GIVEN_JA[(i // 10) % 10],
                                      COMPANY_JA[domain], UNIT_JA[i % 5])
        else:
            name = '%s %s (%s)' % (GIVEN_EN[(i // 10) % 10], FAMILY_EN[i % 10], domain)
        listed = i % 11 != 5
        rows.append((local + '@' + domain, name if listed else None))
    return rows


def script(lang):
    rows = people(lang)
    lines = ['lang ' + lang,
             '# Written by tests/generate/send_check_shots.py: the send check with',
             '# 100 recipients, a few ticked, for the README and the help pages.',
             'settings SendCheck Enabled 1',
             'file 1234abcd.mb/MailBox.ini', '[Account]', 'MailAddress=me@example.org', '.',
             'mailbox 1234abcd.mb\\', 'folder 1234abcd.mb\\!Inbox\\',
             'file AddrBook/@Main/Contacts/Group.idx']
    lines += ['x\\tx\\tc%02d.vcf\\t%s\\t%s\\tx' % (i, name, address)
              for i, (address, name) in enumerate(rows) if name]
    lines.append('.')
    # One address of each company of the conversation.
    original = [[a for a, _ in rows if a.endswith('@' + c)][0] for c in ORIGINAL]
    to = [a for a, _ in rows[:40]]
    cc = [a for a, _ in rows[40:90]]
    bcc = [a for a, _ in rows[90:]]
    lines += ['mail From: ' + original[0], 'mail To: me@example.org, ' + ', '.join(original[1:]),
              'mail Subject: Plans',
              'compose From: me@example.org',
              'compose To: ' + ', '.join(to), 'compose Cc: ' + ', '.join(cc),
              'compose Bcc: ' + ', '.join(bcc), 'compose Subject: Re: Plans',
              'body text/plain', 'Thank you.', '.',
              'start', 'open-compose 6',
              # The reply's own arrangement set To and Cc; the user's list again.
              'compose To: ' + ', '.join(to), 'compose Cc: ' + ', '.join(cc),
              'send-check']
    outside = [a for a, _ in rows if a.split('@')[1] != 'example.org']
    lines += ['tick ' + a for a in outside[:3]]
    # Ticking a row scrolls it into view: the new company's rows show.
    lines += ['tick ' + [a for a in outside if a.endswith('@third.example')][-1]]
    lines += ['screenshot send_check_' + lang, 'cancel', '.', 'outgoing 0', 'expect-result -1']
    return '\n'.join(lines) + '\n'


def main():
    for lang in ('en', 'ja'):
        with open(os.path.join(SHOTS, 'send_check_%s.bk' % lang), 'w', encoding='utf-8') as out:
            out.write(script(lang))


if __name__ == '__main__':
    main()
