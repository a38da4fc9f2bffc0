#!/usr/bin/env python3
"""Writes a sample Maildir (Maildir++ layout) for trying Zandor out.

    tools/sample-maildir.py DIR

DIR must not exist yet, or be empty. The Inbox (the root) has the subfolders
Work, Work.Projects and Family; Sent has Archive. About three dozen messages
in English, German, French and Russian, received over the last three weeks
(dated from today, so that "Last 30 days" holds them all), among them one
long message that the Kelvo cannot take whole, one with an attachment and
one in HTML only.
"""

import os
import socket
import sys
import time
from email.message import EmailMessage
from email.utils import format_datetime, make_msgid
from datetime import datetime, timedelta, timezone

ME = ("Sam Reader", "sam@example.org")

# (folder, from, to, subject, body, days back)
MESSAGES = [
    ("", ("Ann Smith", "ann@example.com"), ME, "Quarterly report",
     "Hi Sam,\n\nthe figures for the quarter are in. Sales are up 4%.\n\nAnn\n", 1),
    ("", ("Jürgen Weiß", "juergen@example.de"), ME, "Grüße aus Köln",
     "Hallo Sam,\n\nviele Grüße aus Köln! Das Wetter ist schön, der Dom wie immer.\n"
     "Bis bald,\nJürgen\n", 1),
    ("", ("Élodie Martin", "elodie@example.fr"), ME, "Réunion à l'hôtel de ville",
     "Bonjour Sam,\n\nla réunion aura lieu jeudi à 9 h, près de l'entrée principale.\n"
     "Amitiés,\nÉlodie\n", 2),
    ("", ("Алексей Иванов", "alexei@example.ru"), ME, "Привет из Москвы",
     "Здравствуй, Сэм!\n\nВсё хорошо, ждём тебя в гости летом.\nАлексей\n", 2),
    ("", ("Bob Jones", "bob@example.com"), ME, "Lunch on Friday?",
     "Noon at the usual place? I'll book a table.\nBob\n", 3),
    ("", ("Travel Desk", "travel@example.com"), ME, "Your booking: Berlin, 12 March",
     "Flight LH 123, departs 08:15, seat 14C.\nHotel Adlon, two nights.\n", 4),
    ("", ("Ann Smith", "ann@example.com"), ME, "Re: Budget",
     "Agreed, let's keep it at last year's level.\n", 5),
    ("", ("Claire Dubois", "claire@example.fr"), ME, "Café demain ?",
     "On se retrouve au café à 10 h ? Il y aura aussi François.\n", 6),
    ("", ("Dmitri Petrov", "dmitri@example.ru"), ME, "Отчёт за март",
     "Сэм, отчёт в приложении. Цифры хорошие.\nДмитрий\n", 7),
    ("", ("Newsletter", "news@example.net"), ME, "This week in gardening",
     "Tomatoes, beans and what to plant in April.\n", 8),
    ("", ("Bob Jones", "bob@example.com"), ME, "Photos from the trip",
     "Here are the best ones. The lake was amazing.\n", 9),
    ("", ("Jürgen Weiß", "juergen@example.de"), ME, "Geburtstag am Samstag",
     "Wir feiern ab 18 Uhr. Bring gute Laune mit!\n", 11),
    ("", ("Ann Smith", "ann@example.com"), ME, "Notes from the meeting",
     "Action items: review the contract, call the printer, fix the website.\n", 13),
    ("", ("Helpdesk", "help@example.com"), ME, "Ticket #4711 closed",
     "Your ticket about the VPN has been closed.\n", 15),
    (".Work", ("Project Office", "pmo@example.com"), ME, "Kick-off agenda",
     "1. Scope\n2. Timeline\n3. Risks\n", 2),
    (".Work", ("Ann Smith", "ann@example.com"), ME, "Contract draft v2",
     "Please review sections 4 and 7 by Wednesday.\n", 4),
    (".Work", ("Marie Lefèvre", "marie@example.fr"), ME, "Traduction du manuel",
     "La traduction française est prête ; il reste l'index à relire.\n", 6),
    (".Work", ("Klaus Müller", "klaus@example.de"), ME, "Angebot für die Übersetzung",
     "Anbei unser Angebot. Lieferung in zwei Wochen möglich.\n", 10),
    (".Work.Projects", ("Ann Smith", "ann@example.com"), ME, "Milestone 2 reached",
     "Well done, everyone. Next: beta in May.\n", 3),
    (".Work.Projects", ("Ольга Смирнова", "olga@example.ru"), ME, "План на апрель",
     "Сэм, посмотри план, пожалуйста. Есть вопросы по срокам.\n", 12),
    (".Family", ("Mum", "mum@example.org"), ME, "Sunday dinner",
     "Roast at 1pm. Don't be late!\n", 1),
    (".Family", ("Tom Reader", "tom@example.org"), ME, "Football tickets",
     "Got two tickets for Saturday. Coming?\n", 5),
    (".Family", ("Oma Gerda", "gerda@example.de"), ME, "Kuchenrezept",
     "Hier das Rezept für den Apfelkuchen: 500 g Äpfel, 200 g Zucker ...\n", 9),
    (".Sent", ME, ("Ann Smith", "ann@example.com"), "Re: Quarterly report",
     "Thanks Ann, looks good.\n", 1),
    (".Sent", ME, ("Jürgen Weiß", "juergen@example.de"), "Re: Grüße aus Köln",
     "Danke, Jürgen! Grüße zurück aus London.\n", 1),
    (".Sent", ME, ("Élodie Martin", "elodie@example.fr"), "Re: Réunion à l'hôtel de ville",
     "Parfait, à jeudi !\n", 2),
    (".Sent", ME, ("Алексей Иванов", "alexei@example.ru"), "Re: Привет из Москвы",
     "Спасибо, Алексей! Обязательно приеду.\n", 2),
    (".Sent", ME, ("Bob Jones", "bob@example.com"), "Re: Lunch on Friday?",
     "Noon works. See you there.\n", 3),
    (".Sent", ME, ("Klaus Müller", "klaus@example.de"), "Auftrag",
     "Wir nehmen Ihr Angebot an.\n", 9),
    (".Sent", ME, ("Helpdesk", "help@example.com"), "VPN does not connect",
     "Since this morning the VPN stops at 'authenticating'.\n", 16),
    (".Sent.Archive", ME, ("Travel Desk", "travel@example.com"), "Change of flight",
     "Could you move me to the 10:30 flight?\n", 12),
    (".Sent.Archive", ME, ("Claire Dubois", "claire@example.fr"), "Merci pour la soirée",
     "C'était une très belle soirée, merci encore !\n", 14),
    (".Sent.Archive", ME, ("Dmitri Petrov", "dmitri@example.ru"), "Re: Отчёт за март",
     "Спасибо, Дмитрий, всё получил.\n", 18),
]

LONG_BODY = "".join(
    f"Paragraph {i + 1}. The annual report covers sales, staff, premises and plans for "
    f"next year in detail; this is line {i + 1} of a long message.\n" for i in range(60))


def deliver(root, folder, message, when, serial):
    directory = os.path.join(root, folder) if folder else root
    for sub in ("cur", "new", "tmp"):
        os.makedirs(os.path.join(directory, sub), exist_ok=True)
    unique = f"{int(when.timestamp())}.M{serial:03d}P{os.getpid()}.{socket.gethostname()}"
    path = os.path.join(directory, "cur", unique + ":2,S")
    with open(path, "wb") as out:
        out.write(bytes(message))
    os.utime(path, (when.timestamp(), when.timestamp()))


def compose(sender, recipient, subject, body, when):
    message = EmailMessage()
    message["Received"] = ("from mail.example.net by mx.example.org; " +
                           format_datetime(when))
    message["From"] = f'"{sender[0]}" <{sender[1]}>'
    message["To"] = f'"{recipient[0]}" <{recipient[1]}>'
    message["Subject"] = subject
    message["Date"] = format_datetime(when)
    message["Message-ID"] = make_msgid(domain="example.org")
    message.set_content(body)
    return message


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    root = sys.argv[1]
    if os.path.exists(root) and os.listdir(root):
        sys.exit(f"sample-maildir: {root} is not empty")
    for sub in ("cur", "new", "tmp"):
        os.makedirs(os.path.join(root, sub), exist_ok=True)

    now = datetime.now(timezone.utc).replace(microsecond=0)
    serial = 0
    for folder, sender, recipient, subject, body, days in MESSAGES:
        serial += 1
        when = now - timedelta(days=days, hours=serial % 9, minutes=7 * serial % 60)
        deliver(root, folder, compose(sender, recipient, subject, body, when), when, serial)

    serial += 1
    when = now - timedelta(days=2, hours=5)
    deliver(root, "", compose(("Ann Smith", "ann@example.com"), ME,
                              "Annual report (long)", LONG_BODY, when), when, serial)

    serial += 1
    when = now - timedelta(days=3, hours=2)
    with_file = compose(("Bob Jones", "bob@example.com"), ME, "Invoice for March",
                        "The invoice is attached. Payment within 30 days, please.\n", when)
    with_file.add_attachment(b"%PDF-1.4\n% sample\n", maintype="application", subtype="pdf",
                             filename="invoice-march.pdf")
    deliver(root, "", with_file, when, serial)

    serial += 1
    when = now - timedelta(days=4, hours=1)
    html = compose(("Shop", "shop@example.com"), ME, "Your order has shipped", "", when)
    html.set_content("<html><body><p>Your order <b>#1234</b> has shipped.</p>"
                     "<p>Track it at the usual place.</p></body></html>", subtype="html")
    deliver(root, "", html, when, serial)

    print(f"sample-maildir: {serial} messages in {root}")


if __name__ == "__main__":
    main()
