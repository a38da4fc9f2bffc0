<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutText</name>
    <message>
        <source>Version %1</source>
        <extracomment>%1 is the program&apos;s version, 1.2.3</extracomment>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>CertificateText</name>
    <message>
        <source>not given</source>
        <extracomment>A date of the certificate&apos;s validity that it does not give</extracomment>
        <translation>nicht angegeben</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>--sync and --watch cannot go together.</source>
        <translation>--sync und --watch können nicht zusammen verwendet werden.</translation>
    </message>
    <message>
        <source>--trace needs a file name.</source>
        <translation>--trace braucht einen Dateinamen.</translation>
    </message>
    <message>
        <source>--timeout needs a whole number of seconds from 0 to %1, not &apos;%2&apos;.</source>
        <translation>--timeout braucht eine ganze Zahl von Sekunden von 0 bis %1, nicht „%2“.</translation>
    </message>
    <message>
        <source>--%1 cannot go with --watch: what a run started by plugging the Kelvo in may do is set in Options.</source>
        <translation>--%1 kann nicht mit --watch verwendet werden: Was ein durch Anschließen des Kelvo gestarteter Lauf tun darf, wird unter „Einstellungen“ festgelegt.</translation>
    </message>
    <message>
        <source>--details is only for the window.</source>
        <translation>--details gilt nur für das Fenster.</translation>
    </message>
    <message>
        <source>--%1 is only for a run without a window: add --sync.</source>
        <translation>--%1 gilt nur für einen Lauf ohne Fenster: Fügen Sie --sync hinzu.</translation>
    </message>
    <message>
        <source>Usage: zandor [--trace FILE]
       zandor --sync [--full] [--remove-from-kelvo] [--remove-from-mail] [--yes]
              [--timeout SECONDS] [--trace FILE] [--verbose]
       zandor --watch [--timeout SECONDS] [--trace FILE] [--verbose]

Keeps a Maildir and a Kelvo handheld in step over a serial line.
Without --sync the window opens.

  --sync               run one synchronisation with the stored settings, no window;
                       on a terminal one line shows the status lines as they
                       change; elsewhere each change is printed as &quot;[N] text&quot;;
                       the four lines end the output either way; each message
                       box goes to standard error
  --watch              wait for the Kelvo&apos;s port to appear (its adapter plugged
                       in), then synchronise as --sync does, with what Options
                       allows such runs to remove and never in full; tell the
                       desktop how it went; wait for the port to go and come
                       back; the window, when open, runs the synchronisation
  --details FILE       open the window with its Details showing a run&apos;s log
  --full               send every message of the date range again (Full Syncronization)
  --remove-from-kelvo  remove from the Kelvo what is no longer in the chosen folders
  --remove-from-mail   remove from the mail what was deleted on the Kelvo (to Trash)
  --yes                answer Yes to the questions these three ask; without it the
                       run stops before the port is opened
  --timeout SECONDS    stop as the Break button does after this much silence
                       from the Kelvo (default 30; 0 waits for ever)
  --trace FILE         write every byte on the line to FILE, readably
  --verbose            print each change as &quot;[N] text&quot; on a terminal too,
                       and each message sent, received, removed or skipped
  -h, --help           show this text
  -v, --version        show the version

Ctrl-C stops a synchronisation once the message part or draft in flight is
complete, so that none is sent or received twice; a second Ctrl-C stops it at
once, as the Break button does; a third ends the program.
Exit status: 0 when no error was shown, 1 when one was, 2 for a usage error or
a question not answered Yes.

Settings: $XDG_CONFIG_HOME/Zandor/Zandor.ini (default ~/.config/Zandor/Zandor.ini):
  [Ports] COM1..COM4 = the device of &quot;Com 1&quot;..&quot;Com 4&quot; (default /dev/ttyS0..3)
  [Store] Maildir    = the mail folder (default ~/Maildir)
  [Store] Kind       = maildir (default) or imap
  [Imap] Host, Port, Security (tls, starttls or none), User, CertificateFile,
         CertificateFingerprint (SHA-256 of a certificate trusted on purpose)
  [Imap] PasswordCommand = run by /bin/sh -c; its first line is the password
  [Imap] Login = xoauth2: the command prints an OAuth 2.0 access token
  [Imap] Timeout = seconds without a byte from the server before it is left
         (default 30)
</source>
        <translation>Aufruf: zandor [--trace DATEI]
        zandor --sync [--full] [--remove-from-kelvo] [--remove-from-mail]
               [--yes] [--timeout SEKUNDEN] [--trace DATEI] [--verbose]
        zandor --watch [--timeout SEKUNDEN] [--trace DATEI] [--verbose]

Hält ein Maildir und ein Kelvo-Handheld über eine serielle Leitung abgeglichen.
Ohne --sync öffnet sich das Fenster.

  --sync               eine Synchronisierung mit den gespeicherten Einstellungen,
                       ohne Fenster; im Terminal zeigt eine Zeile die Statuszeilen,
                       wie sie sich ändern; sonst wird jede Änderung als &quot;[N] Text&quot;
                       ausgegeben; die vier Zeilen beenden die Ausgabe immer; jedes
                       Meldungsfenster geht an die Standardfehlerausgabe
  --watch              warten, bis die Schnittstelle des Kelvo erscheint,
                       dann wie --sync synchronisieren, nur mit den unter
                       „Einstellungen“ erlaubten Löschungen, nie vollständig;
                       dem Desktop das Ergebnis melden; warten, bis sie geht und
                       wiederkommt; ein offenes Fenster synchronisiert selbst
  --details DATEI      das Fenster mit dem Protokoll eines Laufs in Details öffnen
  --full               alles aus dem Zeitraum erneut senden (vollständige Synchronisierung)
  --remove-from-kelvo  vom Kelvo entfernen, was nicht mehr in den gewählten Ordnern ist
  --remove-from-mail   auf dem Kelvo Gelöschtes aus der E-Mail in den Papierkorb legen
  --yes                die Fragen dieser drei mit „Ja“ beantworten; ohne es hält
                       der Lauf an, bevor die Schnittstelle geöffnet wird
  --timeout SEKUNDEN   wie die Schaltfläche „Unterbrechen“ anhalten, wenn der
                       Kelvo so lange schweigt (Standard 30; 0 wartet unbegrenzt)
  --trace DATEI        jedes Byte auf der Leitung lesbar in DATEI schreiben
  --verbose            Änderungen auch im Terminal als &quot;[N] Text&quot; ausgeben, dazu
                       jede gesendete, empfangene, entfernte, übersprungene Nachricht
  -h, --help           diesen Text anzeigen
  -v, --version        die Version anzeigen

Ctrl-C hält die Synchronisierung an, sobald der laufende Nachrichtenteil
oder Entwurf fertig ist, damit nichts doppelt gesendet oder empfangen wird;
ein zweites hält sofort an wie „Unterbrechen“; ein drittes beendet das Programm.
Exit-Status: 0, wenn kein Fehler angezeigt wurde, 1, wenn doch, 2 bei einem
Aufruffehler oder einer nicht mit „Ja“ beantworteten Frage.

Einstellungen: $XDG_CONFIG_HOME/Zandor/Zandor.ini (Standard ~/.config/Zandor/Zandor.ini):
  [Ports] COM1..COM4 = das Gerät von &quot;Com 1&quot;..&quot;Com 4&quot; (Standard /dev/ttyS0..3)
  [Store] Maildir    = der E-Mail-Ordner (Standard ~/Maildir)
  [Store] Kind       = maildir (Standard) oder imap
  [Imap] Host, Port, Security (tls, starttls oder none), User, CertificateFile,
         CertificateFingerprint (SHA-256 eines bewusst vertrauten Zertifikats)
  [Imap] PasswordCommand = läuft über /bin/sh -c; seine erste Zeile ist das Passwort
  [Imap] Login = xoauth2: der Befehl gibt ein OAuth-2.0-Zugriffstoken aus
  [Imap] Timeout = Sekunden ohne ein Byte vom Server, bevor die Verbindung
         aufgegeben wird (Standard 30)
</translation>
    </message>
</context>
<context>
    <name>DesktopNotices</name>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
</context>
<context>
    <name>FolderLayout</name>
    <message>
        <source>the folder %1 no longer exists</source>
        <extracomment>%1 is a folder of the mail folder</extracomment>
        <translation>den Ordner %1 gibt es nicht mehr</translation>
    </message>
    <message>
        <source>the mail folder %1 does not exist</source>
        <extracomment>%1 is the mail folder chosen under Options</extracomment>
        <translation>den E-Mail-Ordner %1 gibt es nicht</translation>
    </message>
    <message>
        <source>its name has an empty part between dots, which no folder of a Maildir++ store may have</source>
        <extracomment>Why a folder cannot be used; “its” is the folder&apos;s</extracomment>
        <translation>sein Name hat einen leeren Teil zwischen Punkten, den kein Ordner eines Maildir++-Speichers haben darf</translation>
    </message>
    <message>
        <source>%1 is not a folder of the mail store %2</source>
        <extracomment>%1 is a folder, %2 the mail folder</extracomment>
        <translation>%1 ist kein Ordner des Mail-Speichers %2</translation>
    </message>
</context>
<context>
    <name>FolderScan</name>
    <message>
        <source>The mail store cannot be used, so nothing more was sent: %1</source>
        <translation>Der E-Mail-Speicher kann nicht verwendet werden, daher wurde nichts mehr gesendet: %1</translation>
    </message>
    <message>
        <source>the mail store could not be used (%1)</source>
        <translation>der E-Mail-Speicher war nicht verwendbar (%1)</translation>
    </message>
    <message>
        <source>%1 could not be read, so it was not synchronised: %2</source>
        <translation>%1 nicht lesbar, daher nicht synchronisiert: %2</translation>
    </message>
    <message>
        <source>%1 could not be read (%2)</source>
        <translation>%1 nicht lesbar (%2)</translation>
    </message>
    <message>
        <source>the folder %1</source>
        <translation>Ordner %1</translation>
    </message>
    <message>
        <source>the message %1 cannot go to the Kelvo: its subject, sender, recipients and folder alone fill a record</source>
        <translation>die Nachricht %1 kann nicht an den Kelvo gehen: Schon Betreff, Absender, Empfänger und Ordner füllen einen Datensatz</translation>
    </message>
    <message>
        <source>the message %1 is too long for one record, and the parts limit (&quot;%2&quot;) allows no part</source>
        <translation>die Nachricht %1 ist zu lang für einen Datensatz, und die Teilegrenze („%2“) erlaubt keinen Teil</translation>
    </message>
    <message>
        <source>the message %1 lacks what a record needs</source>
        <translation>der Nachricht %1 fehlt, was ein Datensatz braucht</translation>
    </message>
    <message>
        <source> (truncated)</source>
        <translation> (gekürzt)</translation>
    </message>
    <message>
        <source> - Sending: %1</source>
        <translation> - Senden: %1</translation>
    </message>
    <message>
        <source>(part %1)</source>
        <translation>(Teil %1)</translation>
    </message>
    <message>
        <source>a message could not be sent</source>
        <translation>eine Nachricht konnte nicht gesendet werden</translation>
    </message>
    <message>
        <source>the synchronisation was interrupted</source>
        <translation>die Synchronisierung wurde unterbrochen</translation>
    </message>
    <message>
        <source>a sent message could not be marked</source>
        <translation>eine gesendete Nachricht konnte nicht markiert werden</translation>
    </message>
    <message>
        <source>A message deleted on the Kelvo could not be removed from the mail folder: %1</source>
        <translation>Eine auf dem Kelvo gelöschte Nachricht konnte nicht aus dem E-Mail-Ordner entfernt werden: %1</translation>
    </message>
    <message>
        <source>Too many messages in %1 - This folder will be entirely skipped</source>
        <extracomment>%1 is the folder&apos;s name</extracomment>
        <translation>Zu viele Nachrichten in %1 - Dieser Ordner wird vollständig übersprungen</translation>
    </message>
    <message>
        <source>the folder %1 was skipped</source>
        <translation>der Ordner %1 wurde übersprungen</translation>
    </message>
    <message>
        <source>Scanning %1. Message %2 of %3</source>
        <translation>Durchsuche %1. Nachricht %2 von %3</translation>
    </message>
    <message>
        <source>the subfolders of %1</source>
        <translation>Unterordner von %1</translation>
    </message>
</context>
<context>
    <name>HeadlessHost</name>
    <message>
        <source>answered Yes (%1)</source>
        <extracomment>%1 is why the run may answer Yes by itself</extracomment>
        <translation>mit „Ja“ beantwortet (%1)</translation>
    </message>
    <message>
        <source>not answered Yes, so nothing was done; run again with --yes to answer Yes</source>
        <translation>nicht mit „Ja“ beantwortet, daher wurde nichts getan; starten Sie erneut mit --yes, um mit „Ja“ zu antworten</translation>
    </message>
</context>
<context>
    <name>HeadlessRun</name>
    <message>
        <source>%1 asks for a Yes first, and a run without a window takes --yes as that Yes: run again with --yes to go ahead. Nothing was done.</source>
        <extracomment>%1 is one option, such as --full</extracomment>
        <translation>%1 verlangt zuerst ein „Ja“, und ein Lauf ohne Fenster nimmt --yes als dieses Ja: Starten Sie erneut mit --yes, um fortzufahren. Es wurde nichts getan.</translation>
    </message>
    <message>
        <source>%1 ask for a Yes first, and a run without a window takes --yes as that Yes: run again with --yes to go ahead. Nothing was done.</source>
        <translation>%1 verlangen zuerst ein „Ja“, und ein Lauf ohne Fenster nimmt --yes als dieses Ja: Starten Sie erneut mit --yes, um fortzufahren. Es wurde nichts getan.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>cannot write the transcript to %1: %2</source>
        <translation>die Mitschrift kann nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>stopped by %1</source>
        <translation>durch %1 angehalten</translation>
    </message>
    <message>
        <source>%1: stopping once the part in flight is complete%2</source>
        <translation>%1: wird angehalten, sobald der laufende Teil fertig ist%2</translation>
    </message>
    <message>
        <source> (press Ctrl-C again to stop at once)</source>
        <translation> (erneut Ctrl-C drücken, um sofort anzuhalten)</translation>
    </message>
    <message>
        <source>Ctrl-C: stopping at once, as the Break button does (press Ctrl-C again to quit)</source>
        <translation>Ctrl-C: wird sofort angehalten wie mit „Unterbrechen“ (erneut Ctrl-C drücken zum Beenden)</translation>
    </message>
    <message>
        <source>Press Ctrl-C to stop.</source>
        <translation>Drücken Sie Ctrl-C zum Anhalten.</translation>
    </message>
    <message>
        <source>this run is not logged: %1</source>
        <translation>dieser Lauf wird nicht protokolliert: %1</translation>
    </message>
    <message>
        <source>stopped: the Kelvo did not answer for %1 s</source>
        <translation>angehalten: Der Kelvo hat %1 s lang nicht geantwortet</translation>
    </message>
    <message>
        <source>the log of this run: %1</source>
        <translation>Protokoll dieses Laufs: %1</translation>
    </message>
    <message>
        <source>the status lines could not be written to standard output (%1)</source>
        <translation>die Statuszeilen konnten nicht in die Standardausgabe geschrieben werden (%1)</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>Schreibfehler</translation>
    </message>
</context>
<context>
    <name>ImapCore</name>
    <message>
        <source>; connecting again: </source>
        <extracomment>Between why the connection was lost and why connecting again failed</extracomment>
        <translation>; erneute Verbindung: </translation>
    </message>
    <message>
        <source>the folder %1 was renumbered by the server</source>
        <extracomment>%1 is a folder on the server, whose message numbers (UIDVALIDITY) changed</extracomment>
        <translation>der Ordner %1 wurde vom Server neu nummeriert</translation>
    </message>
    <message>
        <source>; check that the server is running and reachable, then synchronise again</source>
        <translation>; prüfen Sie, ob der Server läuft und erreichbar ist, und synchronisieren Sie dann erneut</translation>
    </message>
    <message>
        <source>list the folders</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>Auflisten der Ordner</translation>
    </message>
    <message>
        <source>no such folder</source>
        <extracomment>The server has no default folder of this kind</extracomment>
        <translation>kein solcher Ordner</translation>
    </message>
    <message>
        <source>create the folder %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder</extracomment>
        <translation>Anlegen des Ordners %1</translation>
    </message>
    <message>
        <source>the folder name &quot;%1&quot; holds a line break, which no command to the server can carry: rename the folder on the server</source>
        <extracomment>%1 is the folder&apos;s name, line breaks shown as <byte value="xd"/> and 
</extracomment>
        <translation>der Ordnername „%1“ enthält einen Zeilenumbruch, den kein Befehl an den Server übertragen kann: benennen Sie den Ordner auf dem Server um</translation>
    </message>
    <message>
        <source>open the folder %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder</extracomment>
        <translation>Öffnen des Ordners %1</translation>
    </message>
    <message>
        <source>read the messages of %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder</extracomment>
        <translation>Lesen der Nachrichten von %1</translation>
    </message>
    <message>
        <source>read the dates of %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder, the dates those of its messages</extracomment>
        <translation>Lesen der Datumsangaben von %1</translation>
    </message>
</context>
<context>
    <name>ImapItem</name>
    <message>
        <source>the server cannot remove one message alone (no UIDPLUS)</source>
        <translation>der Server kann keine einzelne Nachricht entfernen (kein UIDPLUS)</translation>
    </message>
    <message>
        <source>mark a message deleted</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>Markieren einer Nachricht als gelöscht</translation>
    </message>
    <message>
        <source>expunge a message</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; the message marked deleted is removed for good</extracomment>
        <translation>endgültiges Löschen einer Nachricht</translation>
    </message>
    <message>
        <source>the message %1 is no longer in %2</source>
        <extracomment>%1 is the message&apos;s id, %2 a folder</extracomment>
        <translation>die Nachricht %1 ist nicht mehr in %2</translation>
    </message>
    <message>
        <source>the received time of %1 cannot be read</source>
        <extracomment>%1 is the message&apos;s id</extracomment>
        <translation>die Empfangszeit von %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>move a message to %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); %1 is the Trash folder</extracomment>
        <translation>Verschieben einer Nachricht nach %1</translation>
    </message>
    <message>
        <source>copy a message to %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); %1 is the Trash folder</extracomment>
        <translation>Kopieren einer Nachricht nach %1</translation>
    </message>
    <message>
        <source>find the message just filed in %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open and of “cannot %1”; %1 is the Drafts folder</extracomment>
        <translation>Finden der soeben in %1 abgelegten Nachricht</translation>
    </message>
    <message>
        <source>cannot %1</source>
        <extracomment>%1 is “find the message just filed in …”</extracomment>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>file a message in %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is the Drafts folder</extracomment>
        <translation>Ablegen einer Nachricht in %1</translation>
    </message>
</context>
<context>
    <name>ImapItems</name>
    <message>
        <source>the folder %1 was renumbered by the server</source>
        <extracomment>%1 is a folder on the server, whose message numbers (UIDVALIDITY) changed</extracomment>
        <translation>der Ordner %1 wurde vom Server neu nummeriert</translation>
    </message>
</context>
<context>
    <name>ImapLookahead</name>
    <message>
        <source>the synchronisation was stopped</source>
        <translation>die Synchronisierung wurde angehalten</translation>
    </message>
</context>
<context>
    <name>ImapSession</name>
    <message>
        <source>the connection was refused, or timed out</source>
        <extracomment>Why a command to the server failed when the server said nothing (fills %3 of “cannot %1 on %2: %3”)</extracomment>
        <translation>die Verbindung wurde abgelehnt oder hat das Zeitlimit überschritten</translation>
    </message>
    <message>
        <source>the connection was lost, or timed out</source>
        <translation>die Verbindung ging verloren oder hat das Zeitlimit überschritten</translation>
    </message>
    <message>
        <source>the TLS handshake failed</source>
        <translation>der TLS-Handshake ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>its answer could not be read</source>
        <translation>seine Antwort konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>it does not accept the connection</source>
        <translation>er nimmt die Verbindung nicht an</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>kein Speicher mehr frei</translation>
    </message>
    <message>
        <source>it refused (libetpan code %1)</source>
        <extracomment>“it” is the server; %1 is a number</extracomment>
        <translation>er hat abgelehnt (libetpan-Code %1)</translation>
    </message>
    <message>
        <source>it is self-signed, and no authority this machine trusts vouches for it</source>
        <translation>es ist selbst signiert, und keine Stelle, der dieser Rechner vertraut, bürgt dafür</translation>
    </message>
    <message>
        <source>its issuer is not one this machine trusts</source>
        <translation>sein Aussteller gehört nicht zu denen, denen dieser Rechner vertraut</translation>
    </message>
    <message>
        <source>it is made out to another name than %1</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>es ist auf einen anderen Namen als %1 ausgestellt</translation>
    </message>
    <message>
        <source>it expired on %1</source>
        <extracomment>%1 is a date, 2026-12-31T23:59:59Z</extracomment>
        <translation>es ist am %1 abgelaufen</translation>
    </message>
    <message>
        <source>it is not valid before %1</source>
        <extracomment>%1 is a date, 2026-12-31T23:59:59Z</extracomment>
        <translation>es ist nicht vor dem %1 gültig</translation>
    </message>
    <message>
        <source>the certificate of %1 is not trusted: %2</source>
        <extracomment>%1 is the server&apos;s name, %2 why (the texts about “it”, the certificate)</extracomment>
        <translation>dem Zertifikat von %1 wird nicht vertraut: %2</translation>
    </message>
    <message>
        <source> (its SHA-256 fingerprint is %1; to trust it on purpose, set CertificateFingerprint=%1 under [Imap], or name the certificates to trust in CertificateFile)</source>
        <extracomment>Follows the text above; %1 (twice) is the fingerprint, AB:CD:…; CertificateFingerprint, [Imap] and CertificateFile name settings: keep them</extracomment>
        <translation> (sein SHA-256-Fingerabdruck ist %1; um ihm bewusst zu vertrauen, setzen Sie CertificateFingerprint=%1 unter [Imap] oder nennen Sie die vertrauenswürdigen Zertifikate in CertificateFile)</translation>
    </message>
    <message>
        <source>the server sent none</source>
        <extracomment>Why the certificate is not trusted: the server sent no certificate</extracomment>
        <translation>der Server hat keines gesendet</translation>
    </message>
    <message>
        <source>it is not the certificate trusted before, which was %1; the server&apos;s certificate has changed</source>
        <extracomment>%1 is the fingerprint trusted before</extracomment>
        <translation>es ist nicht das zuvor vertraute Zertifikat, das %1 war; das Zertifikat des Servers hat sich geändert</translation>
    </message>
    <message>
        <source>the system has no trusted certificates</source>
        <translation>das System hat keine vertrauenswürdigen Zertifikate</translation>
    </message>
    <message>
        <source>%1 holds no certificate</source>
        <extracomment>%1 is a certificate file</extracomment>
        <translation>%1 enthält kein Zertifikat</translation>
    </message>
    <message>
        <source>it cannot be checked</source>
        <translation>es kann nicht geprüft werden</translation>
    </message>
    <message>
        <source>%1 port %2</source>
        <extracomment>%1 is the server&apos;s name, %2 its port number; fills %1 of the next texts</extracomment>
        <translation>%1 Port %2</translation>
    </message>
    <message>
        <source>cannot connect to %1: no answer within %2 s; check the server name and port, and that this computer is online</source>
        <extracomment>%1 is “&lt;server&gt; port &lt;n&gt;”, %2 a number of seconds</extracomment>
        <translation>keine Verbindung zu %1: keine Antwort innerhalb von %2 s; prüfen Sie Servername und Port und ob dieser Rechner online ist</translation>
    </message>
    <message>
        <source>cannot find %1: no such host; check the server name</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>%1 nicht gefunden: kein solcher Host; prüfen Sie den Servernamen</translation>
    </message>
    <message>
        <source>cannot find %1: %2; check the server name, and that this computer is online</source>
        <extracomment>%1 is the server&apos;s name, %2 the system&apos;s reason</extracomment>
        <translation>%1 nicht gefunden: %2; prüfen Sie den Servernamen und ob dieser Rechner online ist</translation>
    </message>
    <message>
        <source>%1 refused the connection: no IMAP server listens there; check the port and the security</source>
        <extracomment>%1 is “&lt;server&gt; port &lt;n&gt;”; the security is TLS, STARTTLS or none, under Options</extracomment>
        <translation>%1 hat die Verbindung abgelehnt: dort wartet kein IMAP-Server; prüfen Sie Port und Verschlüsselung</translation>
    </message>
    <message>
        <source>the server closed the connection, saying &quot;%1&quot;</source>
        <extracomment>%1 is what the server said as it left</extracomment>
        <translation>der Server hat die Verbindung beendet mit den Worten „%1“</translation>
    </message>
    <message>
        <source>the server sent nothing for %1 s and was left ([Imap] Timeout)</source>
        <extracomment>%1 is a number of seconds; [Imap] Timeout names a setting: keep it</extracomment>
        <translation>der Server hat %1 s lang nichts gesendet; die Verbindung wurde aufgegeben ([Imap] Timeout)</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>der Server hat die Verbindung beendet</translation>
    </message>
    <message>
        <source>the server said &quot;%1&quot;</source>
        <extracomment>%1 is the server&apos;s own words</extracomment>
        <translation>der Server sagte „%1“</translation>
    </message>
    <message>
        <source>the account is full (%1); make room in it on the server, then synchronise again</source>
        <extracomment>%1 is what the server said</extracomment>
        <translation>das Konto ist voll (%1); schaffen Sie auf dem Server Platz und synchronisieren Sie dann erneut</translation>
    </message>
    <message>
        <source>cannot %1 on %2: %3</source>
        <extracomment>%1 is what was being done (“list the folders”, “log in as ann”…), %2 the server&apos;s name, %3 why</extracomment>
        <translation>%1 auf %2 fehlgeschlagen: %3</translation>
    </message>
    <message>
        <source>ask for capabilities</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>Abfrage der Fähigkeiten</translation>
    </message>
    <message>
        <source>start TLS</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>Starten von TLS</translation>
    </message>
    <message>
        <source>choose STARTTLS or TLS for the connection</source>
        <translation>wählen Sie STARTTLS oder TLS für die Verbindung</translation>
    </message>
    <message>
        <source>ask the server&apos;s keeper which login it takes</source>
        <translation>fragen Sie den Betreiber des Servers, welche Anmeldung er annimmt</translation>
    </message>
    <message>
        <source>%1 refuses a password on this connection (it announces LOGINDISABLED): %2</source>
        <extracomment>%1 is the server&apos;s name, %2 what to do</extracomment>
        <translation>%1 lehnt auf dieser Verbindung ein Passwort ab (er meldet LOGINDISABLED): %2</translation>
    </message>
    <message>
        <source>plain text is for this machine only, not %1: choose TLS or STARTTLS</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>Klartext ist nur für diesen Rechner, nicht für %1: wählen Sie TLS oder STARTTLS</translation>
    </message>
    <message>
        <source>%1 does not offer XOAUTH2: remove Login=xoauth2 under [Imap] and log in with a password</source>
        <extracomment>%1 is the server&apos;s name; Login=xoauth2 and [Imap] name a setting: keep them</extracomment>
        <translation>%1 bietet kein XOAUTH2 an: entfernen Sie Login=xoauth2 unter [Imap] und melden Sie sich mit einem Passwort an</translation>
    </message>
    <message>
        <source>log in as %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is the user name</extracomment>
        <translation>Anmeldung als %1</translation>
    </message>
    <message>
        <source>connect</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>Verbindungsaufbau</translation>
    </message>
</context>
<context>
    <name>ImapStore</name>
    <message>
        <source>an IMAP account has no Outbox</source>
        <translation>ein IMAP-Konto hat keinen Postausgang</translation>
    </message>
    <message>
        <source>the folder %1 no longer exists</source>
        <extracomment>%1 is a folder on the server</extracomment>
        <translation>den Ordner %1 gibt es nicht mehr</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <extracomment>%1 is the lock file, %2 the system&apos;s reason</extracomment>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The IMAP account %1 on %2 is in use by another synchronisation (another Zandor window, or zandor --sync). Let it end, then synchronise again.</source>
        <extracomment>%1 is the user name, %2 the server</extracomment>
        <translation>Das IMAP-Konto %1 auf %2 wird von einer anderen Synchronisierung verwendet (einem anderen Zandor-Fenster oder zandor --sync). Warten Sie, bis sie endet, und synchronisieren Sie dann erneut.</translation>
    </message>
    <message>
        <source>the server no longer has it (deleted or renamed since the last synchronisation), so nothing was removed from the Kelvo; the next synchronisation takes it as gone</source>
        <extracomment>Why a folder (named beside this text) was left alone; “it” is that folder</extracomment>
        <translation>der Server hat sie nicht mehr (seit der letzten Synchronisierung gelöscht oder umbenannt), daher wurde nichts vom Kelvo entfernt; die nächste Synchronisierung behandelt sie als entfernt</translation>
    </message>
</context>
<context>
    <name>KelvoStateDb</name>
    <message>
        <source>Another program is using it (another Zandor?): close it, then synchronise again.</source>
        <extracomment>Advice after why the file of sent marks failed; “it” is that file</extracomment>
        <translation>Ein anderes Programm verwendet die Datei (ein anderes Zandor?): schließen Sie es und synchronisieren Sie dann erneut.</translation>
    </message>
    <message>
        <source>Make it a file you may write, in a folder you may write, then synchronise again.</source>
        <translation>Sorgen Sie dafür, dass Sie die Datei und ihren Ordner beschreiben dürfen, und synchronisieren Sie dann erneut.</translation>
    </message>
    <message>
        <source>Free some space on its disk, then synchronise again.</source>
        <translation>Schaffen Sie Platz auf dem Datenträger der Datei und synchronisieren Sie dann erneut.</translation>
    </message>
    <message>
        <source>Move it aside and synchronise again: Zandor then starts afresh and sends every message of the date range once more.</source>
        <translation>Verschieben Sie die Datei an einen anderen Ort und synchronisieren Sie erneut: Zandor beginnt dann von vorn und sendet jede Nachricht des Zeitraums noch einmal.</translation>
    </message>
    <message>
        <source>Check the file and its disk, then synchronise again.</source>
        <translation>Prüfen Sie die Datei und ihren Datenträger und synchronisieren Sie dann erneut.</translation>
    </message>
    <message>
        <source>its folder is gone (was the mail folder moved or deleted?)</source>
        <extracomment>Why the file of sent marks cannot be used; “its” is the file&apos;s</extracomment>
        <translation>ihr Ordner ist weg (wurde der E-Mail-Ordner verschoben oder gelöscht?)</translation>
    </message>
    <message>
        <source>the file is damaged, or is not Zandor&apos;s (%1)</source>
        <extracomment>%1 is SQLite&apos;s own reason</extracomment>
        <translation>die Datei ist beschädigt oder gehört nicht zu Zandor (%1)</translation>
    </message>
    <message>
        <source>cannot open the sent marks in %1: %2</source>
        <extracomment>The sent marks: the file that keeps what was sent to the Kelvo. %1 is that file, %2 why</extracomment>
        <translation>die Sendemarken in %1 können nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>cannot write the sent marks in %1: %2</source>
        <extracomment>%1 is the file of sent marks, %2 why</extracomment>
        <translation>die Sendemarken in %1 können nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot read the sent marks in %1: %2</source>
        <extracomment>%1 is the file of sent marks, %2 why</extracomment>
        <translation>die Sendemarken in %1 können nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 was deleted or replaced while Zandor used it, so the marks of this synchronisation are lost: its messages will be sent to the Kelvo again next time</source>
        <extracomment>%1 is the file of sent marks</extracomment>
        <translation>%1 wurde gelöscht oder ersetzt, während Zandor sie verwendete; die Marken dieser Synchronisierung sind verloren: ihre Nachrichten werden beim nächsten Mal erneut an den Kelvo gesendet</translation>
    </message>
    <message>
        <source>cannot read the sent marks in %1: the file is damaged (%2).
<byte value="xd"/>%3</source>
        <extracomment>%1 is the file of sent marks, %2 SQLite&apos;s finding, %3 advice</extracomment>
        <translation>die Sendemarken in %1 können nicht gelesen werden: die Datei ist beschädigt (%2).
<byte value="xd"/>%3</translation>
    </message>
</context>
<context>
    <name>KelvoStateMarks</name>
    <message>
        <source>cannot mark %1 as sent: the date is not valid</source>
        <extracomment>%1 is the message&apos;s name in the mail store</extracomment>
        <translation>%1 kann nicht als gesendet markiert werden: das Datum ist ungültig</translation>
    </message>
</context>
<context>
    <name>MaildirFiles</name>
    <message>
        <source>it cannot be entered (%1)</source>
        <extracomment>Why a folder cannot be used; %1 is the system&apos;s reason</extracomment>
        <translation>er kann nicht betreten werden (%1)</translation>
    </message>
    <message>
        <source> and </source>
        <extracomment>Joins the names of cur, new and tmp: “cur and new”</extracomment>
        <translation> und </translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <extracomment>%1 is a message file, %2 the system&apos;s reason</extracomment>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it is damaged: %1 is not a folder</source>
        <extracomment>“it” is a mail folder; %1 is cur, new or tmp</extracomment>
        <translation>er ist beschädigt: %1 ist kein Ordner</translation>
    </message>
    <message>
        <source>it is damaged: %1 are not folders</source>
        <extracomment>“it” is a mail folder; %1 is two or three of cur, new and tmp, joined by “ and ”</extracomment>
        <translation>er ist beschädigt: %1 sind keine Ordner</translation>
    </message>
    <message>
        <source>cannot read the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>der Ordner %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <extracomment>%1 is a file, %2 the system&apos;s reason</extracomment>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <extracomment>%1 is a file, %2 the system&apos;s reason</extracomment>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot move the message file %1: %2</source>
        <extracomment>%1 is the message file, %2 the system&apos;s reason</extracomment>
        <translation>die Nachrichtendatei %1 kann nicht verschoben werden: %2</translation>
    </message>
    <message>
        <source>cannot open the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>der Ordner %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>cannot sync the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason; syncing flushes its changes to the disk</extracomment>
        <translation>der Ordner %1 kann nicht auf den Datenträger geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <extracomment>%1 is a message file, %2 the system&apos;s reason</extracomment>
        <translation>%1 kann nicht entfernt werden: %2</translation>
    </message>
    <message>
        <source>cannot lock the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>der Ordner %1 kann nicht gesperrt werden: %2</translation>
    </message>
</context>
<context>
    <name>MaildirItem</name>
    <message>
        <source>the message %1 is no longer in %2</source>
        <extracomment>%1 is the message&apos;s file name, %2 its folder</extracomment>
        <translation>die Nachricht %1 ist nicht mehr in %2</translation>
    </message>
    <message>
        <source>the received time of %1 cannot be read</source>
        <extracomment>%1 is the message&apos;s file name</extracomment>
        <translation>die Empfangszeit von %1 kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>MaildirStore</name>
    <message>
        <source>the folder %1 no longer exists</source>
        <extracomment>%1 is a folder</extracomment>
        <translation>den Ordner %1 gibt es nicht mehr</translation>
    </message>
    <message>
        <source>The mail folder %1 is in use by another synchronisation (another Zandor window, or zandor --sync). Let it end, then synchronise again.</source>
        <extracomment>%1 is the mail folder</extracomment>
        <translation>Der E-Mail-Ordner %1 wird von einer anderen Synchronisierung verwendet (einem anderen Zandor-Fenster oder zandor --sync). Warten Sie, bis sie endet, und synchronisieren Sie dann erneut.</translation>
    </message>
    <message>
        <source>The mail folder %1 holds no Maildir: there is no cur, new and tmp at its top (a Maildir++ store) nor in an Inbox folder of it (Inbox/cur).</source>
        <extracomment>%1 is the mail folder; one of the next two sentences follows</extracomment>
        <translation>Der E-Mail-Ordner %1 enthält kein Maildir: weder auf oberster Ebene (ein Maildir++-Speicher) noch in einem Ordner Inbox darin (Inbox/cur) gibt es cur, new und tmp.</translation>
    </message>
    <message>
        <source> Choose your Maildir under Options, Mail Folder.</source>
        <extracomment>Follows the sentence above, after a space</extracomment>
        <translation> Wählen Sie Ihr Maildir unter „Einstellungen“, „E-Mail-Ordner“.</translation>
    </message>
    <message>
        <source> %1 holds one: choose it under Options, Mail Folder.</source>
        <extracomment>Follows the sentence above, after a space; %1 is a folder that holds a Maildir</extracomment>
        <translation> %1 enthält eines: wählen Sie es unter „Einstellungen“, „E-Mail-Ordner“.</translation>
    </message>
    <message>
        <source>the folder %1 cannot be read: %2</source>
        <extracomment>%1 is a folder, %2 why (“it is damaged: …”)</extracomment>
        <translation>der Ordner %1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Try &apos;zandor --help&apos; for more information.</source>
        <translation>Weitere Informationen mit „zandor --help“.</translation>
    </message>
    <message>
        <source>this build has no window; use --sync.</source>
        <translation>diese Version hat kein Fenster; verwenden Sie --sync.</translation>
    </message>
    <message>
        <source>there is no display to open the window on (DISPLAY is not set).
To synchronise without a window, run &apos;zandor --sync&apos; (see &apos;zandor --help&apos;).</source>
        <translation>es gibt keine Anzeige, auf der sich das Fenster öffnen ließe (DISPLAY ist nicht gesetzt).
Um ohne Fenster zu synchronisieren, führen Sie „zandor --sync“ aus (siehe „zandor --help“).</translation>
    </message>
    <message>
        <source>not set</source>
        <translation>nicht gesetzt</translation>
    </message>
    <message>
        <source>the window cannot be opened: no display could be reached (DISPLAY %1, WAYLAND_DISPLAY %2, QT_QPA_PLATFORM %3).
Check that the desktop session is running and that these name it. To synchronise without a window, run &apos;zandor --sync&apos; (see &apos;zandor --help&apos;).</source>
        <extracomment>%1, %2, %3 are the values of DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM</extracomment>
        <translation>das Fenster kann nicht geöffnet werden: Keine Anzeige war erreichbar (DISPLAY: %1, WAYLAND_DISPLAY: %2, QT_QPA_PLATFORM: %3).
Prüfen Sie, ob die Desktop-Sitzung läuft und diese Variablen sie nennen. Um ohne Fenster zu synchronisieren, führen Sie „zandor --sync“ aus (siehe „zandor --help“).</translation>
    </message>
    <message>
        <source>cannot write the transcript to %1: %2</source>
        <translation>die Mitschrift kann nicht nach %1 geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>MessageReader</name>
    <message>
        <source> cannot be read as a mail message</source>
        <extracomment>Follows a file&apos;s name or “the message”</extracomment>
        <translation> kann nicht als E-Mail-Nachricht gelesen werden</translation>
    </message>
    <message>
        <source>the message header cannot be read</source>
        <translation>der Nachrichtenkopf kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <extracomment>%1 is a file, %2 the system&apos;s reason</extracomment>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the message</source>
        <extracomment>Followed by “ cannot be read as a mail message”</extracomment>
        <translation>die Nachricht</translation>
    </message>
</context>
<context>
    <name>OptionsMailStore</name>
    <message>
        <source>Mail &amp;Folder</source>
        <translation>&amp;E-Mail-Ordner</translation>
    </message>
    <message>
        <source>The Maildir that holds the mail to synchronise</source>
        <translation>Der Maildir-Ordner mit den zu synchronisierenden E-Mails</translation>
    </message>
    <message>
        <source>B&amp;rowse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Maildir fo&amp;lder</source>
        <translation>&amp;Maildir-Ordner</translation>
    </message>
    <message>
        <source>&amp;IMAP account</source>
        <translation>&amp;IMAP-Konto</translation>
    </message>
    <message>
        <source>IMAP Account</source>
        <translation>IMAP-Konto</translation>
    </message>
    <message>
        <source>Server &amp;name:</source>
        <translation>&amp;Servername:</translation>
    </message>
    <message>
        <source>Port num&amp;ber:</source>
        <extracomment>The IMAP server&apos;s TCP port</extracomment>
        <translation>&amp;Portnummer:</translation>
    </message>
    <message>
        <source>None (this computer only)</source>
        <extracomment>No encryption: fit only for a server on this computer</extracomment>
        <translation>Keine (nur dieser Computer)</translation>
    </message>
    <message>
        <source>Securit&amp;y:</source>
        <extracomment>The kind of connection to the IMAP server: TLS, STARTTLS or none</extracomment>
        <translation>Sic&amp;herheit:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>Password in keyrin&amp;g...</source>
        <translation>Passwort im Schl&amp;üsselbund...</translation>
    </message>
    <message>
        <source>Forget the certificate (&amp;Z)</source>
        <extracomment>The accelerator is in brackets: the letters of the text are taken in this dialog</extracomment>
        <translation>&amp;Zertifikat vergessen</translation>
    </message>
    <message>
        <source>Certificate: checked against the authorities this computer trusts.</source>
        <translation>Zertifikat: geprüft anhand der Zertifizierungsstellen, denen dieser Computer vertraut.</translation>
    </message>
    <message>
        <source>Certificate: trusted by its SHA-256 fingerprint %1.</source>
        <extracomment>%1 is the fingerprint, pairs of hexadecimal digits joined by colons</extracomment>
        <translation>Zertifikat: vertraut anhand seines SHA-256-Fingerabdrucks %1.</translation>
    </message>
    <message>
        <source>Access token: from PasswordCommand at each login.</source>
        <extracomment>PasswordCommand is the name of a line of the settings file</extracomment>
        <translation>Zugriffstoken: bei jeder Anmeldung von PasswordCommand.</translation>
    </message>
    <message>
        <source>Password: from PasswordCommand.</source>
        <extracomment>PasswordCommand is the name of a line of the settings file</extracomment>
        <translation>Passwort: von PasswordCommand.</translation>
    </message>
    <message>
        <source>Password: not set.</source>
        <translation>Passwort: nicht festgelegt.</translation>
    </message>
    <message>
        <source>Password: in the keyring.</source>
        <translation>Passwort: im Schlüsselbund.</translation>
    </message>
    <message>
        <source>Password: not set; it is asked for at Sync.</source>
        <extracomment>Sync is the main window&apos;s button</extracomment>
        <translation>Passwort: nicht festgelegt; es wird beim Synchronisieren abgefragt.</translation>
    </message>
    <message>
        <source>Password: not set (no keyring is running); it is asked for once each start.</source>
        <translation>Passwort: nicht festgelegt (kein Schlüsselbund aktiv); es wird nach jedem Start einmal abgefragt.</translation>
    </message>
    <message>
        <source>Zandor - Mail Folder</source>
        <translation>Zandor - E-Mail-Ordner</translation>
    </message>
    <message>
        <source>Not kept in the keyring (%1): it is asked for at each start.</source>
        <extracomment>%1 is why the keyring did not keep the password</extracomment>
        <translation>Nicht im Schlüsselbund gespeichert (%1): es wird nach jedem Start abgefragt.</translation>
    </message>
    <message>
        <source>Kept in the desktop keyring.</source>
        <translation>Im Schlüsselbund des Desktops gespeichert.</translation>
    </message>
</context>
<context>
    <name>OptionsMessageFrames</name>
    <message>
        <source>Syncronize Message Removal</source>
        <translation>Entfernen von Nachrichten synchronisieren</translation>
    </message>
    <message>
        <source>Remove messages deleted in the mail from &amp;Kelvo also</source>
        <translation>In der E-Mail &amp;gelöschte Nachrichten auch vom Kelvo entfernen</translation>
    </message>
    <message>
        <source>Remove messages deleted on Kelvo from the &amp;mail also</source>
        <translation>Auf dem Kelvo gelöschte &amp;Nachrichten auch aus der E-Mail entfernen</translation>
    </message>
    <message>
        <source>Symbol Conversion</source>
        <translation>Zeichenkonvertierung</translation>
    </message>
    <message>
        <source>&amp;Western Conversion</source>
        <translation>&amp;Westliche Konvertierung</translation>
    </message>
    <message>
        <source>Russian Conversion (for Ostr&amp;el&apos;s client)</source>
        <extracomment>Ostrel is the maker of a Kelvo mail client</extracomment>
        <translation>Russische Konvertierung (&amp;für den Client von Ostrel)</translation>
    </message>
    <message>
        <source>Russian Conversion (For Dr&amp;avo client)</source>
        <extracomment>Dravo is a Kelvo mail client</extracomment>
        <translation>&amp;Russische Konvertierung (für den Dravo-Client)</translation>
    </message>
    <message>
        <source>Messages &amp;split</source>
        <extracomment>The frame that says what becomes of messages too long for the Kelvo</extracomment>
        <translation>&amp;Lange Nachrichten</translation>
    </message>
    <message>
        <source>par&amp;ts</source>
        <extracomment>After the box with the most parts a message is split into: &quot;Split no more than [5] parts&quot;</extracomment>
        <translation>&amp;Teile</translation>
    </message>
    <message>
        <source>Truncate</source>
        <extracomment>What becomes of a message too long for the Kelvo: cut, or split into parts</extracomment>
        <translation>Kürzen</translation>
    </message>
    <message>
        <source>Split unlimited</source>
        <translation>Unbegrenzt aufteilen</translation>
    </message>
    <message>
        <source>Split no more then</source>
        <extracomment>Followed by a box with a number and &quot;parts&quot;</extracomment>
        <translation>Aufteilen in höchstens</translation>
    </message>
</context>
<context>
    <name>OptionsPluggedIn</name>
    <message>
        <source>When the Kelvo is plugged in</source>
        <translation>Beim Anschließen des Kelvo</translation>
    </message>
    <message>
        <source>Synchronise w&amp;hen the Kelvo is plugged in</source>
        <translation>Beim Anschließen des Kelvo s&amp;ynchronisieren</translation>
    </message>
    <message>
        <source>Runs zandor --watch at each login: it synchronises, with no window open, when the Kelvo&apos;s port appears, and never in full</source>
        <translation>Startet zandor --watch bei jeder Anmeldung: Es synchronisiert ohne geöffnetes Fenster, sobald die Schnittstelle des Kelvo erscheint, und nie vollständig</translation>
    </message>
    <message>
        <source>Also remove messages deleted on the Kelvo (&amp;Q)</source>
        <extracomment>The accelerator is in brackets: the letters of the text are taken in this dialog</extracomment>
        <translation>Auch auf dem &amp;Kelvo gelöschte Nachrichten entfernen</translation>
    </message>
    <message>
        <source>Also remove from the Kelvo messages deleted in the mail (&amp;X)</source>
        <extracomment>The accelerator is in brackets: the letters of the text are taken in this dialog</extracomment>
        <translation>Auch in der E-Mail gelöschte Nachrichten &amp;vom Kelvo entfernen</translation>
    </message>
</context>
<context>
    <name>OptionsRangeAndPort</name>
    <message>
        <source>the same as %1</source>
        <extracomment>Describes a stable device name; %1 is the device it points to (/dev/ttyUSB0)</extracomment>
        <translation>dasselbe wie %1</translation>
    </message>
    <message>
        <source>&amp;Date Range</source>
        <translation>Dat&amp;umsbereich</translation>
    </message>
    <message>
        <source>Serial COM &amp;Port</source>
        <translation>Serielle &amp;COM-Schnittstelle</translation>
    </message>
    <message>
        <source>Com %1</source>
        <extracomment>An entry of the port list; %1 is its number, 1 to 4</extracomment>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>De&amp;vice:</source>
        <translation>Ger&amp;ät:</translation>
    </message>
    <message>
        <source>The serial device behind the chosen entry: pick one the system lists, or type any path</source>
        <translation>Das serielle Gerät hinter dem gewählten Eintrag: eines aus der Liste des Systems wählen oder einen beliebigen Pfad eingeben</translation>
    </message>
    <message>
        <source>Last day</source>
        <translation>Letzter Tag</translation>
    </message>
    <message>
        <source>Last 7 days</source>
        <translation>Letzte 7 Tage</translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation>Letzte 30 Tage</translation>
    </message>
    <message>
        <source>Last 90 days</source>
        <translation>Letzte 90 Tage</translation>
    </message>
    <message>
        <source>All</source>
        <extracomment>The date range of all messages, whatever their date</extracomment>
        <translation>Alle</translation>
    </message>
    <message>
        <source>%1 does not exist on this machine</source>
        <extracomment>%1 is the path of a serial device</extracomment>
        <translation>%1 existiert auf diesem Rechner nicht</translation>
    </message>
</context>
<context>
    <name>PasswordCommand</name>
    <message>
        <source>; it said: %1</source>
        <extracomment>Ends the password command&apos;s failures below; %1 is the first line it wrote to its error output</extracomment>
        <translation>; er meldete: %1</translation>
    </message>
    <message>
        <source>no command is set</source>
        <extracomment>Why the password command gave no password</extracomment>
        <translation>es ist kein Befehl festgelegt</translation>
    </message>
    <message>
        <source>/bin/sh could not be started: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>/bin/sh konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>the command did not finish within %1 seconds%2</source>
        <extracomment>%1 is a number of seconds, %2 is “; it said: …” or nothing</extracomment>
        <translation>der Befehl wurde nicht innerhalb von %1 Sekunden fertig%2</translation>
    </message>
    <message>
        <source>the command crashed%1</source>
        <extracomment>%1 is “; it said: …” or nothing</extracomment>
        <translation>der Befehl ist abgestürzt%1</translation>
    </message>
    <message>
        <source>the command ended with status %1%2</source>
        <extracomment>%1 is the command&apos;s exit status, %2 is “; it said: …” or nothing</extracomment>
        <translation>der Befehl endete mit Status %1%2</translation>
    </message>
    <message>
        <source>the command printed no password%1</source>
        <extracomment>%1 is “; it said: …” or nothing</extracomment>
        <translation>der Befehl hat kein Passwort ausgegeben%1</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Zandor - IMAP Password</source>
        <translation>Zandor - IMAP-Passwort</translation>
    </message>
    <message>
        <source>Password of %1 on %2:</source>
        <extracomment>%1 is the user name, %2 the IMAP server&apos;s name</extracomment>
        <translation>Passwort von %1 auf %2:</translation>
    </message>
</context>
<context>
    <name>PasswordKeyring</name>
    <message>
        <source>no keyring service is running</source>
        <translation>kein Schlüsselbund-Dienst aktiv</translation>
    </message>
    <message>
        <source>the keyring refused it, or its prompt was cancelled</source>
        <translation>der Schlüsselbund hat abgelehnt, oder seine Abfrage wurde abgebrochen</translation>
    </message>
</context>
<context>
    <name>PasswordSource</name>
    <message>
        <source>no command is set that prints one</source>
        <translation>kein Befehl festgelegt, der eines ausgibt</translation>
    </message>
    <message>
        <source>no PasswordCommand is set, and the desktop keyring holds no password of %1 on %2</source>
        <translation>PasswordCommand ist nicht festgelegt, und der Schlüsselbund des Desktops enthält kein Passwort für %1 auf %2</translation>
    </message>
    <message>
        <source>no PasswordCommand is set, and no desktop keyring is running</source>
        <translation>PasswordCommand ist nicht festgelegt, und kein Schlüsselbund des Desktops ist aktiv</translation>
    </message>
</context>
<context>
    <name>PluggedInNotice</name>
    <message>
        <source>%1 sent</source>
        <translation>%1 gesendet</translation>
    </message>
    <message>
        <source>Kelvo synchronised</source>
        <translation>Kelvo synchronisiert</translation>
    </message>
    <message>
        <source>Stopped before anything was sent.</source>
        <translation>Angehalten, bevor etwas gesendet wurde.</translation>
    </message>
    <message>
        <source>Kelvo synchronisation failed</source>
        <translation>Kelvo-Synchronisierung fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>PortPresence</name>
    <message>
        <source>the system does not let the port be watched (inotify: %1)</source>
        <translation>das System erlaubt keine Überwachung der Schnittstelle (inotify: %1)</translation>
    </message>
    <message>
        <source>%1 cannot be watched: %2</source>
        <translation>%1 kann nicht überwacht werden: %2</translation>
    </message>
</context>
<context>
    <name>QtSerialLine</name>
    <message>
        <source>no such device</source>
        <extracomment>Why the serial port could not be opened; a hint sentence follows</extracomment>
        <translation>kein solches Gerät</translation>
    </message>
    <message>
        <source>Check that the Kelvo&apos;s cable or USB adapter is plugged in and that the path of this port under Options is right.</source>
        <translation>Prüfen Sie, ob das Kabel oder der USB-Adapter des Kelvo eingesteckt ist und ob der Pfad dieser Schnittstelle unter „Einstellungen“ stimmt.</translation>
    </message>
    <message>
        <source>permission denied</source>
        <extracomment>Why the serial port could not be opened</extracomment>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Add your user to the dialout group (sudo adduser $USER dialout), then log out and log in again.</source>
        <translation>Fügen Sie Ihren Benutzer der Gruppe dialout hinzu (sudo adduser $USER dialout), melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>the port is in use by another program</source>
        <extracomment>Why the serial port could not be opened</extracomment>
        <translation>die Schnittstelle wird von einem anderen Programm verwendet</translation>
    </message>
    <message>
        <source>Close the program that holds the port, then press Sync again.</source>
        <translation>Schließen Sie das Programm, das die Schnittstelle belegt, und drücken Sie dann erneut „Synchronisieren“.</translation>
    </message>
    <message>
        <source>the line settings could not be applied (%1)</source>
        <extracomment>Why the serial port could not be opened; %1 is the system&apos;s reason</extracomment>
        <translation>die Leitungseinstellungen konnten nicht angewendet werden (%1)</translation>
    </message>
    <message>
        <source>Check that the path of this port under Options is a serial port.</source>
        <translation>Prüfen Sie, ob der Pfad dieser Schnittstelle unter „Einstellungen“ auf eine serielle Schnittstelle zeigt.</translation>
    </message>
    <message>
        <source>the line was hung up</source>
        <extracomment>Shown in brackets when the line to the Kelvo was lost: the serial device went away</extracomment>
        <translation>die Leitung wurde getrennt</translation>
    </message>
</context>
<context>
    <name>ReceivePhase</name>
    <message>
        <source>The message received from the Kelvo could not be saved: %1</source>
        <translation>Die vom Kelvo empfangene Nachricht konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The draft %1 was made from a message on the Kelvo that the Kelvo will offer again, but it could not be removed: %2. Delete it from Drafts to keep one copy.</source>
        <translation>Der Entwurf %1 entstand aus einer Nachricht auf dem Kelvo, die der Kelvo erneut anbieten wird, konnte aber nicht entfernt werden: %2. Löschen Sie ihn aus „Entwürfe“, damit nur eine Kopie bleibt.</translation>
    </message>
    <message>
        <source>Receiving message: %1</source>
        <translation>Empfange Nachricht: %1</translation>
    </message>
    <message>
        <source>Comm Err 13
<byte value="xd"/>Message %1 written on the Kelvo is too long to receive (%2 bytes; at most %3). Shorten it or delete it on the Kelvo, then synchronise again to receive it and the messages behind it.</source>
        <translation>Comm Err 13
<byte value="xd"/>Die auf dem Kelvo geschriebene Nachricht %1 ist zu lang zum Empfangen (%2 Bytes; höchstens %3). Kürzen oder löschen Sie sie auf dem Kelvo und synchronisieren Sie dann erneut, um sie und die Nachrichten danach zu empfangen.</translation>
    </message>
    <message>
        <source>Message size: %1</source>
        <translation>Nachrichtengröße: %1</translation>
    </message>
    <message>
        <source>Receiving message ID: %1</source>
        <translation>Empfange Nachrichten-ID: %1</translation>
    </message>
    <message>
        <source>Waiting for messages...</source>
        <translation>Warte auf Nachrichten...</translation>
    </message>
</context>
<context>
    <name>RemovalPhase</name>
    <message>
        <source>%1 (number %2 on the Kelvo)</source>
        <translation>%1 (Nummer %2 auf dem Kelvo)</translation>
    </message>
    <message>
        <source>Removing from Kelvo: %1</source>
        <translation>Entferne vom Kelvo: %1</translation>
    </message>
    <message>
        <source>The Kelvo gave the message &quot;%1&quot; the identifier &quot;%2&quot;, which is not a hexadecimal number; it was not removed from the Kelvo.</source>
        <extracomment>%1 is the message&apos;s name in the mail, %2 what the Kelvo calls it</extracomment>
        <translation>Der Kelvo hat der Nachricht „%1“ die Kennung „%2“ gegeben, die keine Hexadezimalzahl ist; sie wurde nicht vom Kelvo entfernt.</translation>
    </message>
</context>
<context>
    <name>Replies</name>
    <message>
        <source>A Break signal was received</source>
        <translation>Ein Break-Signal wurde empfangen</translation>
    </message>
    <message>
        <source>Framing Error. The hardware detected a framing error</source>
        <translation>Rahmenfehler. Die Hardware hat einen Rahmenfehler erkannt</translation>
    </message>
    <message>
        <source>Port Overrun. A character was not read from the hardware before the next character arrived and was lost</source>
        <translation>Port-Überlauf. Ein Zeichen wurde nicht von der Hardware gelesen, bevor das nächste ankam, und ging verloren</translation>
    </message>
    <message>
        <source>Receive Buffer Overflow. There is no room in the receive buffer</source>
        <translation>Empfangspuffer-Überlauf. Im Empfangspuffer ist kein Platz</translation>
    </message>
    <message>
        <source>Parity Error. The hardware detected a parity error</source>
        <translation>Paritätsfehler. Die Hardware hat einen Paritätsfehler erkannt</translation>
    </message>
    <message>
        <source>Transmit Buffer Full. The transmit buffer was full while trying to queue a character</source>
        <translation>Sendepuffer voll. Der Sendepuffer war voll, als ein Zeichen eingereiht werden sollte</translation>
    </message>
    <message>
        <source>Unexpected error retrieving Device Control Block (DCB) for the port</source>
        <translation>Unerwarteter Fehler beim Abrufen des Device Control Block (DCB) der Schnittstelle</translation>
    </message>
    <message>
        <source>Unkown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>      User Break      </source>
        <translation>      Vom Benutzer unterbrochen      </translation>
    </message>
    <message>
        <source>The Kelvo is no longer connected%1. The synchronisation was stopped; check the cable and try again.</source>
        <extracomment>%1 is empty or &quot; (what the system said)&quot;</extracomment>
        <translation>Der Kelvo ist nicht mehr verbunden%1. Die Synchronisierung wurde angehalten; prüfen Sie das Kabel und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Serial port error #%1
<byte value="xd"/>%2</source>
        <extracomment>%1 is the error&apos;s number, %2 what it means</extracomment>
        <translation>Fehler der seriellen Schnittstelle Nr. %1
<byte value="xd"/>%2</translation>
    </message>
    <message>
        <source>The Kelvo did not accept the start of a message or of a removal.</source>
        <translation>Der Kelvo hat den Beginn einer Nachricht oder einer Löschung nicht angenommen.</translation>
    </message>
    <message>
        <source>The Kelvo did not accept a field of a message, or the number of a message to remove.</source>
        <translation>Der Kelvo hat ein Feld einer Nachricht oder die Nummer einer zu entfernenden Nachricht nicht angenommen.</translation>
    </message>
    <message>
        <source>The Kelvo did not accept a field of the message being sent.</source>
        <translation>Der Kelvo hat ein Feld der gesendeten Nachricht nicht angenommen.</translation>
    </message>
    <message>
        <source>The Kelvo did not confirm a message, or the end of the messages.</source>
        <translation>Der Kelvo hat eine Nachricht oder das Ende der Nachrichten nicht bestätigt.</translation>
    </message>
    <message>
        <source>The Kelvo did not accept the name given to a message written on it: it keeps the message and offers it again next time.</source>
        <translation>Der Kelvo hat den Namen für eine auf ihm geschriebene Nachricht nicht angenommen: Er behält die Nachricht und bietet sie beim nächsten Mal erneut an.</translation>
    </message>
    <message>
        <source>The Kelvo sent something that has no place at this step.</source>
        <translation>Der Kelvo hat etwas gesendet, das an dieser Stelle nicht vorgesehen ist.</translation>
    </message>
    <message>
        <source>A message written on the Kelvo did not arrive whole.</source>
        <translation>Eine auf dem Kelvo geschriebene Nachricht kam nicht vollständig an.</translation>
    </message>
    <message>
        <source>The Kelvo&apos;s list of the messages it holds did not arrive whole, so nothing is removed from the mail.</source>
        <translation>Die Liste der Nachrichten auf dem Kelvo kam nicht vollständig an, daher wird nichts aus der E-Mail entfernt.</translation>
    </message>
    <message>
        <source>The Kelvo answered out of step.</source>
        <translation>Der Kelvo hat außer der Reihe geantwortet.</translation>
    </message>
    <message>
        <source>Comm Err %1
<byte value="xd"/>%2 Check the cable and that the Kelvo is ready to synchronise, then synchronise again: nothing already sent goes twice.</source>
        <translation>Comm Err %1
<byte value="xd"/>%2 Prüfen Sie das Kabel und ob der Kelvo zum Synchronisieren bereit ist, und synchronisieren Sie dann erneut: Bereits Gesendetes wird nicht doppelt gesendet.</translation>
    </message>
</context>
<context>
    <name>RunReport</name>
    <message>
        <source>%1 parts</source>
        <translation>%1 Teile</translation>
    </message>
    <message>
        <source>the last %1 of %2 parts</source>
        <translation>die letzten %1 von %2 Teilen</translation>
    </message>
    <message>
        <source>cut to %1 of %2 bytes</source>
        <translation>gekürzt auf %1 von %2 Bytes</translation>
    </message>
    <message>
        <source>Sent: </source>
        <translation>Gesendet: </translation>
    </message>
    <message>
        <source>Received into %1: %2</source>
        <translation>Empfangen in %1: %2</translation>
    </message>
    <message>
        <source>Removed from the Kelvo: %1 (written on the Kelvo, saved to %2 on %3)</source>
        <translation>Vom Kelvo entfernt: %1 (auf dem Kelvo geschrieben, am %3 in %2 gespeichert)</translation>
    </message>
    <message>
        <source>Removed from the Kelvo: </source>
        <translation>Vom Kelvo entfernt: </translation>
    </message>
    <message>
        <source>Removed from the mail (to Trash): </source>
        <translation>Aus der E-Mail entfernt (in den Papierkorb): </translation>
    </message>
    <message>
        <source>Skipped: %1: %2</source>
        <translation>Übersprungen: %1: %2</translation>
    </message>
    <message>
        <source>%1:%2 left</source>
        <translation>noch %1:%2</translation>
    </message>
    <message>
        <source>message %1 of %2</source>
        <translation>Nachricht %1 von %2</translation>
    </message>
    <message>
        <source>, part %1 of %2</source>
        <translation>, Teil %1 von %2</translation>
    </message>
    <message>
        <source>1 message</source>
        <translation>1 Nachricht</translation>
    </message>
    <message numerus="yes">
        <source>%n messages</source>
        <translation>
            <numerusform>%n Nachricht</numerusform>
            <numerusform>%n Nachrichten</numerusform>
        </translation>
    </message>
    <message>
        <source>no message sent</source>
        <translation>keine Nachricht gesendet</translation>
    </message>
    <message>
        <source> sent</source>
        <translation> gesendet</translation>
    </message>
    <message>
        <source> all of them</source>
        <translation> alle</translation>
    </message>
    <message>
        <source> %1 of them</source>
        <translation> %1 davon</translation>
    </message>
    <message>
        <source>,%1 split into %2 parts</source>
        <translation>,%1 in %2 Teile aufgeteilt</translation>
    </message>
    <message>
        <source>, %1 cut to fit</source>
        <translation>, %1 gekürzt</translation>
    </message>
    <message>
        <source>%1 received into %2</source>
        <translation>%1 in %2 empfangen</translation>
    </message>
    <message>
        <source>%1 removed from the Kelvo</source>
        <translation>%1 vom Kelvo entfernt</translation>
    </message>
    <message>
        <source>%1 removed from the mail</source>
        <translation>%1 aus der E-Mail entfernt</translation>
    </message>
    <message>
        <source>%1 skipped (see Details)</source>
        <translation>%1 übersprungen (siehe Details)</translation>
    </message>
    <message>
        <source>complete: </source>
        <translation>abgeschlossen: </translation>
    </message>
    <message>
        <source>stopped by Break</source>
        <translation>durch „Unterbrechen“ angehalten</translation>
    </message>
    <message>
        <source>failed: </source>
        <translation>fehlgeschlagen: </translation>
    </message>
    <message>
        <source>could not open Com %1</source>
        <translation>Com %1 konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Last synchronisation %1: %2</source>
        <translation>Letzte Synchronisierung um %1: %2</translation>
    </message>
    <message>
        <source>No answer from the Kelvo on Com %1 (%2) for %3 s: is it connected and switched on? %4</source>
        <translation>Seit %3 s keine Antwort vom Kelvo an Com %1 (%2): Ist er angeschlossen und eingeschaltet? %4</translation>
    </message>
    <message>
        <source>No answer from the Kelvo on Com %1 (%2) for %3, so the synchronisation was stopped: is it connected and switched on? (--timeout sets how long to wait)</source>
        <translation>Seit %3 keine Antwort vom Kelvo an Com %1 (%2), daher wurde die Synchronisierung angehalten: Ist er angeschlossen und eingeschaltet? (--timeout legt die Wartezeit fest)</translation>
    </message>
    <message>
        <source>1 second</source>
        <translation>1 Sekunde</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>there is no home folder to keep it in</source>
        <translation>es gibt keinen Home-Ordner für das Protokoll</translation>
    </message>
    <message>
        <source>%1 cannot be made</source>
        <translation>%1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Synchronisation of %1</source>
        <translation>Synchronisierung vom %1</translation>
    </message>
</context>
<context>
    <name>SendExchange</name>
    <message>
        <source>The message &quot;%1&quot; was sent to the Kelvo, but could not be marked as sent: %2</source>
        <translation>Die Nachricht „%1“ wurde an den Kelvo gesendet, konnte aber nicht als gesendet markiert werden: %2</translation>
    </message>
    <message>
        <source>Message size: %1 bytes%2</source>
        <extracomment>%1 is a number of bytes, %2 empty or &quot; (truncated)&quot;</extracomment>
        <translation>Nachrichtengröße: %1 Bytes%2</translation>
    </message>
</context>
<context>
    <name>SendPhase</name>
    <message>
        <source>The mail folder could not be read, so no mail was sent: %1</source>
        <translation>Der E-Mail-Ordner konnte nicht gelesen werden, daher wurde keine E-Mail gesendet: %1</translation>
    </message>
    <message>
        <source>the mail folder could not be read</source>
        <translation>der E-Mail-Ordner konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the synchronisation was interrupted</source>
        <translation>die Synchronisierung wurde unterbrochen</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>it is a folder</source>
        <extracomment>Why the settings file cannot be read (fills %2 of “The settings file %1 cannot be read: %2.”)</extracomment>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <extracomment>Why the settings file cannot be read</extracomment>
        <translation>es ist keine normale Datei</translation>
    </message>
    <message>
        <source>it is not UTF-8 text (it may be UTF-16, or not text at all)</source>
        <extracomment>Why the settings file cannot be read</extracomment>
        <translation>es ist kein UTF-8-Text (vielleicht UTF-16 oder gar kein Text)</translation>
    </message>
    <message>
        <source>it is not in the form of a settings file</source>
        <extracomment>Why the settings file cannot be read</extracomment>
        <translation>es hat nicht die Form einer Einstellungsdatei</translation>
    </message>
    <message>
        <source>There is no home folder to keep %1 in%2.
<byte value="xd"/>Set HOME (or %3) to your home folder, then start Zandor again. Nothing was changed.</source>
        <extracomment>%1 is what would be kept there (“the settings”), %2 a detail that may be empty, %3 an environment variable</extracomment>
        <translation>Es gibt keinen Home-Ordner für %1%2.
<byte value="xd"/>Setzen Sie HOME (oder %3) auf Ihren Home-Ordner und starten Sie Zandor dann erneut. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>the settings</source>
        <extracomment>Fills %1 of “There is no home folder to keep %1 in%2.”</extracomment>
        <translation>die Einstellungen</translation>
    </message>
    <message>
        <source>: %1 would be made in %2, which does not exist</source>
        <extracomment>Fills %2 of “There is no home folder to keep %1 in%2.”: %1 is the settings file, %2 the folder that is missing</extracomment>
        <translation>: %1 würde in %2 angelegt, das es nicht gibt</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be read: %2.
<byte value="xd"/>Mend it or move it aside, then start Zandor again. Nothing was changed.</source>
        <extracomment>%1 is the settings file, %2 why (“it is a folder”…); the 
<byte value="xd"/> is a line break</extracomment>
        <translation>Die Einstellungsdatei %1 kann nicht gelesen werden: %2.
<byte value="xd"/>Reparieren Sie sie oder legen Sie sie beiseite und starten Sie Zandor dann erneut. Es wurde nichts geändert.</translation>
    </message>
</context>
<context>
    <name>StatusBarWhere</name>
    <message>
        <source>no port</source>
        <extracomment>The status line&apos;s port when none is chosen in the options</extracomment>
        <translation>keine Schnittstelle</translation>
    </message>
    <message>
        <source>Com %1 (%2)</source>
        <extracomment>%1 is the port entry&apos;s number, 1 to 4; %2 its device path, /dev/ttyUSB0</extracomment>
        <translation>Com %1 (%2)</translation>
    </message>
</context>
<context>
    <name>StoreChoice</name>
    <message>
        <source>the server&apos;s name or address, such as imap.example.org, 192.0.2.7 or ::1 (no port and no scheme)</source>
        <translation>der Name oder die Adresse des Servers, etwa imap.example.org, 192.0.2.7 oder ::1 (ohne Port und ohne Schema)</translation>
    </message>
    <message>
        <source>a number from 1 to 65535, or no Port for the security&apos;s own (993 with tls, 143 otherwise)</source>
        <translation>eine Zahl von 1 bis 65535 oder kein Port für den Standardport der Sicherheit (993 bei tls, sonst 143)</translation>
    </message>
    <message>
        <source>tls, starttls or none (no Security for tls)</source>
        <translation>tls, starttls oder none (ohne Security: tls)</translation>
    </message>
</context>
<context>
    <name>StoreOpener</name>
    <message>
        <source>then press Sync again.</source>
        <translation>und klicken Sie dann erneut auf „Synchronisieren“.</translation>
    </message>
    <message>
        <source>then run again.</source>
        <translation>und starten Sie dann erneut.</translation>
    </message>
    <message>
        <source>No IMAP server is set.</source>
        <translation>Es ist kein IMAP-Server festgelegt.</translation>
    </message>
    <message>
        <source>Set the server of the IMAP account under Options, </source>
        <translation>Legen Sie den Server des IMAP-Kontos unter „Einstellungen“ fest </translation>
    </message>
    <message>
        <source>Set %1 in %2, </source>
        <translation>Setzen Sie %1 in %2 </translation>
    </message>
    <message>
        <source>Set PasswordCommand under [Imap] in %1 to a command that prints a fresh access token (see the README), or remove Login=xoauth2 to log in with a password.</source>
        <translation>Setzen Sie PasswordCommand unter [Imap] in %1 auf einen Befehl, der ein frisches Zugriffstoken ausgibt (siehe README), oder entfernen Sie Login=xoauth2, um sich mit einem Passwort anzumelden.</translation>
    </message>
    <message>
        <source>Logging in with an access token needs a command that prints one.</source>
        <translation>Die Anmeldung mit einem Zugriffstoken braucht einen Befehl, der eines ausgibt.</translation>
    </message>
    <message>
        <source>No access token could be had: %1.</source>
        <translation>Es war kein Zugriffstoken zu bekommen: %1.</translation>
    </message>
    <message>
        <source>The IMAP password could not be read: %1.</source>
        <translation>Das IMAP-Passwort konnte nicht gelesen werden: %1.</translation>
    </message>
    <message>
        <source>Set %1 in %2 to a command that prints it (for example: pass show mail/work), or keep the password in the desktop keyring from the window, </source>
        <translation>Setzen Sie %1 in %2 auf einen Befehl, der es ausgibt (zum Beispiel: pass show mail/work), oder speichern Sie das Passwort vom Fenster aus im Schlüsselbund des Desktops </translation>
    </message>
    <message>
        <source>The IMAP server refused the access token.</source>
        <translation>Der IMAP-Server hat das Zugriffstoken abgelehnt.</translation>
    </message>
    <message>
        <source>The IMAP server refused the password (%1).</source>
        <translation>Der IMAP-Server hat das Passwort abgelehnt (%1).</translation>
    </message>
    <message>
        <source>Check the user under Options, </source>
        <translation>Prüfen Sie den Benutzer unter „Einstellungen“ </translation>
    </message>
    <message>
        <source>Check %1 and %2 in %3, </source>
        <translation>Prüfen Sie %1 und %2 in %3 </translation>
    </message>
    <message>
        <source>The IMAP server cannot be used: %1.</source>
        <translation>Der IMAP-Server kann nicht verwendet werden: %1.</translation>
    </message>
    <message>
        <source>Check the IMAP account under Options, </source>
        <translation>Prüfen Sie das IMAP-Konto unter „Einstellungen“ </translation>
    </message>
    <message>
        <source>Check %1, Port, Security, CertificateFile and CertificateFingerprint in %2, </source>
        <translation>Prüfen Sie %1, Port, Security, CertificateFile und CertificateFingerprint in %2 </translation>
    </message>
    <message>
        <source>The folder that keeps what was sent to the Kelvo, %1, cannot be used: %2.</source>
        <translation>Der Ordner %1, der festhält, was an den Kelvo gesendet wurde, kann nicht verwendet werden: %2.</translation>
    </message>
    <message>
        <source>Set HOME or XDG_STATE_HOME to a folder you can write, then try again.</source>
        <translation>Setzen Sie HOME oder XDG_STATE_HOME auf einen Ordner, in den Sie schreiben können, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>what was sent to the Kelvo</source>
        <translation>die Liste der an den Kelvo gesendeten Nachrichten</translation>
    </message>
    <message>
        <source> ($XDG_STATE_HOME/zandor, by default ~/.local/state/zandor)</source>
        <translation> ($XDG_STATE_HOME/zandor, standardmäßig ~/.local/state/zandor)</translation>
    </message>
    <message>
        <source>it cannot be created or written</source>
        <translation>er kann nicht angelegt oder beschrieben werden</translation>
    </message>
    <message>
        <source> in %1</source>
        <translation> in %1</translation>
    </message>
    <message>
        <source>%1%2 is &quot;%3&quot;, which cannot be used: it may be %4.</source>
        <translation>%1%2 ist „%3“ und damit unbrauchbar: Erlaubt ist %4.</translation>
    </message>
    <message>
        <source>Correct it under Options, </source>
        <translation>Korrigieren Sie den Wert unter „Einstellungen“ </translation>
    </message>
    <message>
        <source>Correct it there, </source>
        <translation>Korrigieren Sie den Wert dort </translation>
    </message>
    <message>
        <source>The mail folder %1 does not exist.</source>
        <translation>Der E-Mail-Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>Choose your Maildir under Options, Mail Folder, or create it, </source>
        <translation>Wählen Sie Ihr Maildir unter „Einstellungen“, „E-Mail-Ordner“, oder legen Sie es an </translation>
    </message>
    <message>
        <source>Choose your Maildir under Options, Mail Folder (or set Maildir in section [Store] of %1), or create it, </source>
        <translation>Wählen Sie Ihr Maildir unter „Einstellungen“, „E-Mail-Ordner“ (oder setzen Sie Maildir im Abschnitt [Store] von %1), oder legen Sie es an </translation>
    </message>
</context>
<context>
    <name>SyncDriver</name>
    <message>
        <source>Do you want to continue?</source>
        <translation>Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>&apos;Full sync&apos; will send all messages to Kelvo in the selected date range,</source>
        <translation>„Vollständige Synchronisierung“ sendet alle Nachrichten des gewählten Zeitraums an den Kelvo,</translation>
    </message>
    <message>
        <source>including those already sent with previous syncronizations.</source>
        <translation>auch die bei früheren Synchronisierungen bereits gesendeten.</translation>
    </message>
    <message>
        <source>Messages previously sent to Kelvo are going to be removed from there,</source>
        <translation>Zuvor an den Kelvo gesendete Nachrichten werden dort entfernt,</translation>
    </message>
    <message>
        <source>if they are no more included in the list to be sent now</source>
        <translation>wenn sie nicht mehr in der jetzt zu sendenden Liste stehen</translation>
    </message>
    <message>
        <source>Messages previously sent, and then canceled on Kelvo,</source>
        <translation>Zuvor gesendete und dann auf dem Kelvo gelöschte Nachrichten</translation>
    </message>
    <message>
        <source>are going to be removed from the mail also (they go to its Trash folder).</source>
        <translation>werden auch aus der E-Mail entfernt (sie kommen in ihren Papierkorb).</translation>
    </message>
    <message>
        <source>No serial port is chosen. Choose the Kelvo&apos;s port under Options, then press Sync again.</source>
        <translation>Keine serielle Schnittstelle gewählt. Wählen Sie die Schnittstelle des Kelvo unter „Einstellungen“ und klicken Sie dann erneut auf „Synchronisieren“.</translation>
    </message>
    <message>
        <source>Cannot open Com %1 (%2): %3</source>
        <translation>Com %1 (%2) kann nicht geöffnet werden: %3</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Gesendet: %1</translation>
    </message>
    <message>
        <source> (%1 truncated)</source>
        <translation> (%1 gekürzt)</translation>
    </message>
    <message>
        <source> (%1 splitted)</source>
        <translation> (%1 geteilt)</translation>
    </message>
    <message>
        <source>; Skipped: %1</source>
        <translation>; Übersprungen: %1</translation>
    </message>
    <message>
        <source>Received: %1</source>
        <translation>Empfangen: %1</translation>
    </message>
    <message>
        <source>Removed from Kelvo: %1</source>
        <translation>Vom Kelvo entfernt: %1</translation>
    </message>
    <message>
        <source>Nothing removed from Kelvo: %1</source>
        <translation>Nichts vom Kelvo entfernt: %1</translation>
    </message>
    <message>
        <source>not every folder was compared</source>
        <translation>nicht alle Ordner wurden verglichen</translation>
    </message>
    <message>
        <source>Removed from mail: %1</source>
        <translation>Aus der E-Mail entfernt: %1</translation>
    </message>
    <message>
        <source>Nothing removed from mail: the Kelvo&apos;s list of messages was not received whole</source>
        <translation>Nichts aus der E-Mail entfernt: Die Nachrichtenliste des Kelvo kam nicht vollständig an</translation>
    </message>
    <message>
        <source>Nothing was synchronised.</source>
        <translation>Es wurde nichts synchronisiert.</translation>
    </message>
    <message>
        <source>Mail sync started</source>
        <translation>E-Mail-Synchronisierung gestartet</translation>
    </message>
    <message>
        <source>Handshaking...</source>
        <translation>Verbindungsaufbau...</translation>
    </message>
    <message>
        <source>     Handshake error     </source>
        <translation>     Fehler beim Verbindungsaufbau     </translation>
    </message>
    <message>
        <source>The mail folder could not be read: %1</source>
        <translation>Der E-Mail-Ordner konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Some mail folders could not be read: %1</source>
        <translation>Einige E-Mail-Ordner konnten nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>WatchRun</name>
    <message>
        <source>%1 is gone</source>
        <translation>%1 ist verschwunden</translation>
    </message>
    <message>
        <source>no serial port is chosen: choose the Kelvo&apos;s port under Options</source>
        <translation>keine serielle Schnittstelle gewählt: Wählen Sie die Schnittstelle des Kelvo unter „Einstellungen“</translation>
    </message>
    <message>
        <source>%1 is there already: it is synchronised when it is next plugged in</source>
        <translation>%1 ist schon da: Synchronisiert wird beim nächsten Anschließen</translation>
    </message>
    <message>
        <source>waiting for %1 to appear</source>
        <translation>warte, bis %1 erscheint</translation>
    </message>
    <message>
        <source>&quot;Synchronise when the Kelvo is plugged in&quot; was cleared: stopping</source>
        <translation>„Beim Anschließen des Kelvo synchronisieren“ wurde abgewählt: wird beendet</translation>
    </message>
    <message>
        <source>%1 appeared; the window is open, and synchronises itself</source>
        <translation>%1 ist erschienen; das Fenster ist offen und synchronisiert selbst</translation>
    </message>
    <message>
        <source>%1 appeared: synchronising</source>
        <translation>%1 ist erschienen: synchronisiere</translation>
    </message>
    <message>
        <source>agreed to in Options for runs when the Kelvo is plugged in</source>
        <translation>unter „Einstellungen“ für Läufe beim Anschließen des Kelvo erlaubt</translation>
    </message>
    <message>
        <source>waiting for %1 to go and come back</source>
        <translation>warte, bis %1 verschwindet und wiederkommt</translation>
    </message>
    <message>
        <source>the Kelvo did not answer: it may be switched off; nothing was done</source>
        <translation>der Kelvo hat nicht geantwortet: Er ist vielleicht ausgeschaltet; es wurde nichts getan</translation>
    </message>
    <message>
        <source>%1: stopping</source>
        <translation>%1: wird beendet</translation>
    </message>
    <message>
        <source>cannot watch for the Kelvo: %1</source>
        <translation>der Kelvo kann nicht überwacht werden: %1</translation>
    </message>
</context>
<context>
    <name>WatchService</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be removed: remove it by hand.</source>
        <translation>Der Autostart-Eintrag %1 kann nicht entfernt werden: Entfernen Sie ihn von Hand.</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be written: %2</source>
        <translation>Der Autostart-Eintrag %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>zandor --watch could not be started: it starts at the next login.</source>
        <translation>zandor --watch konnte nicht gestartet werden: Es startet bei der nächsten Anmeldung.</translation>
    </message>
    <message>
        <source>systemctl --user %1 failed%2.
<byte value="xd"/>Is Zandor installed (cmake --install, or its .deb), with %3 under lib/systemd/user? Run the command in a terminal to see more.</source>
        <translation>systemctl --user %1 ist fehlgeschlagen%2.
<byte value="xd"/>Ist Zandor installiert (cmake --install oder sein .deb), mit %3 unter lib/systemd/user? Führen Sie den Befehl in einem Terminal aus, um mehr zu sehen.</translation>
    </message>
</context>
<context>
    <name>WindowPasswords</name>
    <message>
        <source>refused</source>
        <extracomment>Why no access token could be had: the server refused the last one</extracomment>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <source>The server refused the password.
%1</source>
        <extracomment>%1 is the question &quot;Password of ann on mail.example.org:&quot;</extracomment>
        <translation>Der Server hat das Passwort abgelehnt.
%1</translation>
    </message>
    <message>
        <source>Keep the password of %1 on %2 in the desktop keyring?</source>
        <extracomment>%1 is the user name, %2 the IMAP server&apos;s name</extracomment>
        <translation>Passwort von %1 auf %2 im Schlüsselbund des Desktops speichern?</translation>
    </message>
    <message>
        <source>The password could not be kept in the keyring: %1</source>
        <extracomment>%1 is why the keyring did not keep it</extracomment>
        <translation>Das Passwort konnte nicht im Schlüsselbund gespeichert werden: %1</translation>
    </message>
</context>
<context>
    <name>zandor::AboutDialog</name>
    <message>
        <source>About Zandor</source>
        <translation>Über Zandor</translation>
    </message>
    <message>
        <source>Keeps a Maildir mail store and a Kelvo handheld in step over a serial cable: messages written on the Kelvo come into the mail folder, the mail of the chosen folders and date range goes to the Kelvo, and deletions can follow in both directions.</source>
        <translation>Hält einen Maildir-E-Mail-Speicher und ein Kelvo-Handheld über ein serielles Kabel abgeglichen: Auf dem Kelvo geschriebene Nachrichten kommen in den E-Mail-Ordner, die E-Mails der gewählten Ordner und des Datumsbereichs gehen auf den Kelvo, und Löschungen können in beide Richtungen übernommen werden.</translation>
    </message>
    <message>
        <source>Written by the Zandor developers.
Built with Qt, GMime and SQLite.</source>
        <translation>Geschrieben von den Zandor-Entwicklern.
Erstellt mit Qt, GMime und SQLite.</translation>
    </message>
    <message>
        <source>Licensed under the GNU General Public License, version 3 or later</source>
        <translation>Lizenziert unter der GNU General Public License, Version 3 oder neuer</translation>
    </message>
    <message>
        <source>Report a problem: see &apos;Reporting a problem&apos; in the README, or run &apos;man&#xa0;zandor&apos;</source>
        <extracomment>&apos;Reporting a problem&apos; is a heading of the README, which stays in English; the space of &apos;man zandor&apos; is a no-break space, so that the command stays on one line</extracomment>
        <translation>Problem melden: siehe „Reporting a problem“ in der README oder „man&#xa0;zandor“ ausführen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>zandor::CertificateDialog</name>
    <message>
        <source>Zandor - Certificate of %1</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>Zandor - Zertifikat von %1</translation>
    </message>
    <message>
        <source>Zandor cannot confirm that %1 is the server it claims to be.</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>Zandor kann nicht bestätigen, dass %1 der Server ist, der er zu sein vorgibt.</translation>
    </message>
    <message>
        <source>The certificate of %1 has changed since you trusted it.</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>Das Zertifikat von %1 hat sich geändert, seit Sie ihm vertraut haben.</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Not trusted because:</source>
        <translation>Nicht vertraut, weil:</translation>
    </message>
    <message>
        <source>Issued to:</source>
        <translation>Ausgestellt für:</translation>
    </message>
    <message>
        <source>Issued by:</source>
        <translation>Ausgestellt von:</translation>
    </message>
    <message>
        <source>Valid:</source>
        <translation>Gültig:</translation>
    </message>
    <message>
        <source>from %1 until %2</source>
        <extracomment>%1 and %2 are dates and times, &quot;2025-01-31 12:00 UTC&quot;, or &quot;not given&quot;</extracomment>
        <translation>von %1 bis %2</translation>
    </message>
    <message>
        <source>SHA-256 fingerprint:</source>
        <translation>SHA-256-Fingerabdruck:</translation>
    </message>
    <message>
        <source>Trusted before:</source>
        <extracomment>The fingerprint of the certificate trusted until now</extracomment>
        <translation>Bisher vertraut:</translation>
    </message>
    <message>
        <source>Trust it only if the fingerprint is the one the server&apos;s keeper gives you. Zandor then trusts this certificate for this account, and refuses any other.</source>
        <translation>Vertrauen Sie ihm nur, wenn der Fingerabdruck mit dem übereinstimmt, den Ihnen der Betreiber des Servers nennt. Zandor vertraut dann diesem Zertifikat für dieses Konto und lehnt jedes andere ab.</translation>
    </message>
    <message>
        <source>Trust this certificate</source>
        <translation>Diesem Zertifikat vertrauen</translation>
    </message>
</context>
<context>
    <name>zandor::MainWindow</name>
    <message>
        <source>Kelvo Mail Sync</source>
        <extracomment>The main window&apos;s title
----------
The notification&apos;s title, as the main window&apos;s</extracomment>
        <translation>Kelvo: E-Mail-Synchronisierung</translation>
    </message>
    <message>
        <source>The log %1 cannot be read: %2</source>
        <extracomment>%1 is the run log&apos;s path, %2 why it cannot be read</extracomment>
        <translation>Das Protokoll %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Not synchronised yet</source>
        <translation>Noch nicht synchronisiert</translation>
    </message>
    <message>
        <source>Press Break to stop.</source>
        <translation>Drücken Sie „Unterbrechen“, um anzuhalten.</translation>
    </message>
    <message>
        <source>&amp;Sync</source>
        <extracomment>The button that starts a synchronisation</extracomment>
        <translation>&amp;Synchronisieren</translation>
    </message>
    <message>
        <source>&amp;Break</source>
        <extracomment>The button that stops a synchronisation</extracomment>
        <translation>&amp;Unterbrechen</translation>
    </message>
    <message>
        <source>&amp;Full Syncronization (duplicate messages possible)</source>
        <translation>&amp;Vollständige Synchronisierung (doppelte Nachrichten möglich)</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <extracomment>The menu entry that opens the options dialog</extracomment>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <extracomment>The menu entry that opens the about box</extracomment>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <extracomment>The button that shows the list of what the run did</extracomment>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>A synchronisation is running. Stop it and quit?</source>
        <translation>Eine Synchronisierung läuft. Anhalten und beenden?</translation>
    </message>
    <message>
        <source>Drafts</source>
        <extracomment>The Drafts folder, named when the mail store cannot give its name</extracomment>
        <translation>Entwürfe</translation>
    </message>
    <message>
        <source>Synchronisation stopped by Break before it began</source>
        <translation>Synchronisierung vor dem Start durch „Unterbrechen“ angehalten</translation>
    </message>
    <message>
        <source>This run is not logged: %1</source>
        <extracomment>%1 is why the run log cannot be written</extracomment>
        <translation>Dieser Lauf wird nicht protokolliert: %1</translation>
    </message>
    <message>
        <source>Synchronisation cancelled</source>
        <translation>Synchronisierung abgebrochen</translation>
    </message>
    <message>
        <source>Cancelled: a question was answered No</source>
        <extracomment>A line of the run log; No is the answer button of the question</extracomment>
        <translation>Abgebrochen: Eine Frage wurde mit „Nein“ beantwortet</translation>
    </message>
    <message>
        <source>Log: %1</source>
        <extracomment>%1 is the path of the run log</extracomment>
        <translation>Protokoll: %1</translation>
    </message>
    <message>
        <source>Check the IMAP account...</source>
        <translation>IMAP-Konto prüfen...</translation>
    </message>
    <message>
        <source>Choose mail folder...</source>
        <translation>E-Mail-Ordner wählen...</translation>
    </message>
    <message>
        <source>No mail folders to show yet. Check the IMAP account under Options, then tick the folders to synchronise.</source>
        <translation>Noch keine E-Mail-Ordner vorhanden. Prüfen Sie das IMAP-Konto unter „Einstellungen“ und haken Sie dann die zu synchronisierenden Ordner an.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted: %2.
See it, and trust it if its fingerprint is the one the server&apos;s keeper gives you.</source>
        <extracomment>%1 is the server&apos;s name, %2 why its certificate is not trusted</extracomment>
        <translation>Dem Zertifikat von %1 wird nicht vertraut: %2.
Sehen Sie es sich an und vertrauen Sie ihm, wenn sein Fingerabdruck mit dem übereinstimmt, den Ihnen der Betreiber des Servers nennt.</translation>
    </message>
    <message>
        <source>Check the certificate...</source>
        <translation>Zertifikat prüfen...</translation>
    </message>
    <message>
        <source>No password was given for %1.</source>
        <extracomment>%1 is the account, as user@server</extracomment>
        <translation>Für %1 wurde kein Passwort angegeben.</translation>
    </message>
    <message>
        <source>Enter the password...</source>
        <translation>Passwort eingeben...</translation>
    </message>
    <message>
        <source>No mail folders to show yet. Choose the folder that holds your Maildir (often ~/Maildir or ~/Mail), then tick the folders to synchronise.</source>
        <translation>Noch keine E-Mail-Ordner vorhanden. Wählen Sie den Ordner mit Ihrem Maildir (oft ~/Maildir oder ~/Mail) und haken Sie dann die zu synchronisierenden Ordner an.</translation>
    </message>
    <message>
        <source>The mail folder %1 does not exist yet. %2</source>
        <extracomment>%1 is the mail folder&apos;s path, %2 the text &quot;No mail folders to show yet...&quot;</extracomment>
        <translation>Der E-Mail-Ordner %1 existiert noch nicht. %2</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <extracomment>%1 is the IMAP server&apos;s name</extracomment>
        <translation>Verbindung zu %1...</translation>
    </message>
</context>
<context>
    <name>zandor::OptionsDialog</name>
    <message>
        <source>Zandor - Options</source>
        <translation>Zandor - Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Mail</source>
        <extracomment>The tab of the mail store: a Maildir folder or an IMAP account</extracomment>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Kelvo</source>
        <extracomment>The tab of the date range, the port and what is removed</extracomment>
        <translation>Kelvo</translation>
    </message>
    <message>
        <source>Conversion</source>
        <extracomment>The tab of the character conversion and of long messages</extracomment>
        <translation>Konvertierung</translation>
    </message>
</context>
<context>
    <name>zandor::SyncStatusBar</name>
    <message>
        <source>message 888 of 888, part 88 of 88, 88:88 left</source>
        <extracomment>Only measured, never shown: the longest progress text there is, written as the run&apos;s progress is translated</extracomment>
        <translation>Nachricht 888 von 888, Teil 88 von 88, noch 88:88</translation>
    </message>
    <message>
        <source>%1: %v of %m</source>
        <extracomment>%1 is the folder being scanned, %v the number of its message, %m how many it holds</extracomment>
        <translation>%1: %v von %m</translation>
    </message>
    <message>
        <source>1 byte</source>
        <extracomment>How much was sent to the Kelvo so far</extracomment>
        <translation>1 Byte</translation>
    </message>
    <message numerus="yes">
        <source>%n bytes</source>
        <translation>
            <numerusform>%n Byte</numerusform>
            <numerusform>%n Bytes</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 sent</source>
        <extracomment>%1 is how much was sent to the Kelvo: &quot;12 bytes&quot;, &quot;3.4 KiB&quot;</extracomment>
        <translation>%1 gesendet</translation>
    </message>
</context>
</TS>
