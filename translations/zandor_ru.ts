<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>AboutText</name>
    <message>
        <source>Version %1</source>
        <extracomment>%1 is the program&apos;s version, 1.2.3</extracomment>
        <translation>Версия %1</translation>
    </message>
</context>
<context>
    <name>CertificateText</name>
    <message>
        <source>not given</source>
        <extracomment>A date of the certificate&apos;s validity that it does not give</extracomment>
        <translation>не указано</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Неожиданный аргумент «%1».</translation>
    </message>
    <message>
        <source>--sync and --watch cannot go together.</source>
        <translation>--sync и --watch нельзя использовать вместе.</translation>
    </message>
    <message>
        <source>--trace needs a file name.</source>
        <translation>Для --trace нужно имя файла.</translation>
    </message>
    <message>
        <source>--timeout needs a whole number of seconds from 0 to %1, not &apos;%2&apos;.</source>
        <translation>Для --timeout нужно целое число секунд от 0 до %1, а не «%2».</translation>
    </message>
    <message>
        <source>--%1 cannot go with --watch: what a run started by plugging the Kelvo in may do is set in Options.</source>
        <translation>--%1 нельзя использовать с --watch: что можно делать при запуске от подключения Kelvo, задаётся в окне «Параметры».</translation>
    </message>
    <message>
        <source>--details is only for the window.</source>
        <translation>--details используется только с окном.</translation>
    </message>
    <message>
        <source>--%1 is only for a run without a window: add --sync.</source>
        <translation>--%1 используется только при запуске без окна: добавьте --sync.</translation>
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
        <translation>Вызов: zandor [--trace ФАЙЛ]
       zandor --sync [--full] [--remove-from-kelvo] [--remove-from-mail] [--yes]
              [--timeout СЕКУНДЫ] [--trace ФАЙЛ] [--verbose]
       zandor --watch [--timeout СЕКУНДЫ] [--trace ФАЙЛ] [--verbose]

Синхронизирует Maildir и карманное устройство Kelvo по последовательной линии.
Без --sync открывается окно.

  --sync               одна синхронизация с сохранёнными настройками, без окна; в
                       терминале одна строка показывает строки состояния по мере
                       их изменения; иначе каждое изменение выводится как
                       &quot;[N] текст&quot;; в любом случае вывод завершают четыре строки;
                       каждое окно сообщения идёт в стандартный поток ошибок
  --watch              ждать появления порта Kelvo (подключения его адаптера),
                       затем синхронизировать, как --sync, удаляя лишь то, что
                       «Параметры» разрешают таким запускам, и никогда полностью;
                       сообщить рабочему столу итог; ждать, пока порт исчезнет и
                       появится снова; если окно открыто, синхронизирует оно
  --details ФАЙЛ       открыть окно с журналом запуска в «Подробностях»
  --full               снова отправить все сообщения за период (полная синхронизация)
  --remove-from-kelvo  удалить из Kelvo то, чего больше нет в выбранных папках
  --remove-from-mail   удалить из почты то, что удалено на Kelvo (в корзину)
  --yes                отвечать «Да» на вопросы этих трёх параметров; без него
                       запуск останавливается до открытия порта
  --timeout СЕКУНДЫ    остановить, как кнопка «Прервать», если Kelvo молчит
                       столько секунд (по умолчанию 30; 0 — ждать бесконечно)
  --trace ФАЙЛ         записывать каждый байт на линии в ФАЙЛ в читаемом виде
  --verbose            выводить и в терминале изменения как &quot;[N] текст&quot;, и все
                       сообщения: отправленные, полученные, удалённые, пропущенные
  -h, --help           показать эту справку
  -v, --version        показать версию

Ctrl-C останавливает синхронизацию, когда передаваемая часть сообщения или
черновик завершены, чтобы ничего не ушло и не пришло дважды; второе Ctrl-C
останавливает её сразу, как кнопка «Прервать»; третье завершает программу.
Код возврата: 0, если ошибок не было показано, 1, если была, 2 при ошибке в
параметрах или если на вопрос не ответили «Да».

Настройки: $XDG_CONFIG_HOME/Zandor/Zandor.ini (по умолчанию ~/.config/Zandor/Zandor.ini):
  [Ports] COM1..COM4 = устройство &quot;Com 1&quot;..&quot;Com 4&quot; (по умолчанию /dev/ttyS0..3)
  [Store] Maildir    = папка с почтой (по умолчанию ~/Maildir)
  [Store] Kind       = maildir (по умолчанию) или imap
  [Imap] Host, Port, Security (tls, starttls или none), User, CertificateFile,
         CertificateFingerprint (SHA-256 сертификата, которому доверяют явно)
  [Imap] PasswordCommand = запускается через /bin/sh -c; пароль — первая строка
  [Imap] Login = xoauth2: команда выводит токен доступа OAuth 2.0
  [Imap] Timeout = сколько секунд ждать хоть байта от сервера, прежде чем
         отключиться от него (по умолчанию 30)
</translation>
    </message>
</context>
<context>
    <name>DesktopNotices</name>
    <message>
        <source>Details</source>
        <translation>Подробности</translation>
    </message>
</context>
<context>
    <name>FolderLayout</name>
    <message>
        <source>the folder %1 no longer exists</source>
        <extracomment>%1 is a folder of the mail folder</extracomment>
        <translation>папки %1 больше нет</translation>
    </message>
    <message>
        <source>the mail folder %1 does not exist</source>
        <extracomment>%1 is the mail folder chosen under Options</extracomment>
        <translation>папки с почтой %1 не существует</translation>
    </message>
    <message>
        <source>its name has an empty part between dots, which no folder of a Maildir++ store may have</source>
        <extracomment>Why a folder cannot be used; “its” is the folder&apos;s</extracomment>
        <translation>в её имени есть пустая часть между точками, что недопустимо для папок хранилища Maildir++</translation>
    </message>
    <message>
        <source>%1 is not a folder of the mail store %2</source>
        <extracomment>%1 is a folder, %2 the mail folder</extracomment>
        <translation>%1 не является папкой почтового хранилища %2</translation>
    </message>
</context>
<context>
    <name>FolderScan</name>
    <message>
        <source>The mail store cannot be used, so nothing more was sent: %1</source>
        <translation>Почтовое хранилище недоступно, поэтому больше ничего не отправлено: %1</translation>
    </message>
    <message>
        <source>the mail store could not be used (%1)</source>
        <translation>почтовое хранилище было недоступно (%1)</translation>
    </message>
    <message>
        <source>%1 could not be read, so it was not synchronised: %2</source>
        <translation>%1 — ошибка чтения, синхронизация не выполнена: %2</translation>
    </message>
    <message>
        <source>%1 could not be read (%2)</source>
        <translation>%1 — ошибка чтения (%2)</translation>
    </message>
    <message>
        <source>the folder %1</source>
        <translation>папка %1</translation>
    </message>
    <message>
        <source>the message %1 cannot go to the Kelvo: its subject, sender, recipients and folder alone fill a record</source>
        <translation>сообщение %1 нельзя передать на Kelvo: одни только тема, отправитель, получатели и папка заполняют запись целиком</translation>
    </message>
    <message>
        <source>the message %1 is too long for one record, and the parts limit (&quot;%2&quot;) allows no part</source>
        <translation>сообщение %1 не помещается в одну запись, а ограничение числа частей («%2») не допускает ни одной части</translation>
    </message>
    <message>
        <source>the message %1 lacks what a record needs</source>
        <translation>в сообщении %1 нет того, что нужно для записи</translation>
    </message>
    <message>
        <source> (truncated)</source>
        <translation> (обрезано)</translation>
    </message>
    <message>
        <source> - Sending: %1</source>
        <translation> - Отправка: %1</translation>
    </message>
    <message>
        <source>(part %1)</source>
        <translation>(часть %1)</translation>
    </message>
    <message>
        <source>a message could not be sent</source>
        <translation>не удалось отправить сообщение</translation>
    </message>
    <message>
        <source>the synchronisation was interrupted</source>
        <translation>синхронизация была прервана</translation>
    </message>
    <message>
        <source>a sent message could not be marked</source>
        <translation>не удалось отметить отправленное сообщение</translation>
    </message>
    <message>
        <source>A message deleted on the Kelvo could not be removed from the mail folder: %1</source>
        <translation>Не удалось удалить из папки с почтой сообщение, удалённое на Kelvo: %1</translation>
    </message>
    <message>
        <source>Too many messages in %1 - This folder will be entirely skipped</source>
        <extracomment>%1 is the folder&apos;s name</extracomment>
        <translation>Слишком много сообщений в %1 - эта папка будет полностью пропущена</translation>
    </message>
    <message>
        <source>the folder %1 was skipped</source>
        <translation>папка %1 пропущена</translation>
    </message>
    <message>
        <source>Scanning %1. Message %2 of %3</source>
        <translation>Просмотр %1. Сообщение %2 из %3</translation>
    </message>
    <message>
        <source>the subfolders of %1</source>
        <translation>вложенные папки %1</translation>
    </message>
</context>
<context>
    <name>HeadlessHost</name>
    <message>
        <source>answered Yes (%1)</source>
        <extracomment>%1 is why the run may answer Yes by itself</extracomment>
        <translation>дан ответ «Да» (%1)</translation>
    </message>
    <message>
        <source>not answered Yes, so nothing was done; run again with --yes to answer Yes</source>
        <translation>ответ «Да» не дан, поэтому ничего не сделано; чтобы ответить «Да», запустите снова с --yes</translation>
    </message>
</context>
<context>
    <name>HeadlessRun</name>
    <message>
        <source>%1 asks for a Yes first, and a run without a window takes --yes as that Yes: run again with --yes to go ahead. Nothing was done.</source>
        <extracomment>%1 is one option, such as --full</extracomment>
        <translation>%1 сначала требует ответа «Да», а запуск без окна считает таким ответом --yes: чтобы продолжить, запустите снова с --yes. Ничего не сделано.</translation>
    </message>
    <message>
        <source>%1 ask for a Yes first, and a run without a window takes --yes as that Yes: run again with --yes to go ahead. Nothing was done.</source>
        <translation>%1 сначала требуют ответа «Да», а запуск без окна считает таким ответом --yes: чтобы продолжить, запустите снова с --yes. Ничего не сделано.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> и </translation>
    </message>
    <message>
        <source>cannot write the transcript to %1: %2</source>
        <translation>не удаётся записать трассировку в %1: %2</translation>
    </message>
    <message>
        <source>stopped by %1</source>
        <translation>остановлена: %1</translation>
    </message>
    <message>
        <source>%1: stopping once the part in flight is complete%2</source>
        <translation>%1: остановка после завершения передаваемой части%2</translation>
    </message>
    <message>
        <source> (press Ctrl-C again to stop at once)</source>
        <translation> (нажмите Ctrl-C ещё раз, чтобы остановить сразу)</translation>
    </message>
    <message>
        <source>Ctrl-C: stopping at once, as the Break button does (press Ctrl-C again to quit)</source>
        <translation>Ctrl-C: немедленная остановка, как кнопкой «Прервать» (нажмите Ctrl-C ещё раз для выхода)</translation>
    </message>
    <message>
        <source>Press Ctrl-C to stop.</source>
        <translation>Нажмите Ctrl-C, чтобы остановить.</translation>
    </message>
    <message>
        <source>this run is not logged: %1</source>
        <translation>этот запуск не записывается в журнал: %1</translation>
    </message>
    <message>
        <source>stopped: the Kelvo did not answer for %1 s</source>
        <translation>остановлена: Kelvo не отвечал %1 с</translation>
    </message>
    <message>
        <source>the log of this run: %1</source>
        <translation>журнал этого запуска: %1</translation>
    </message>
    <message>
        <source>the status lines could not be written to standard output (%1)</source>
        <translation>не удалось вывести строки состояния в стандартный вывод (%1)</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>ошибка записи</translation>
    </message>
</context>
<context>
    <name>ImapCore</name>
    <message>
        <source>; connecting again: </source>
        <extracomment>Between why the connection was lost and why connecting again failed</extracomment>
        <translation>; при повторном подключении: </translation>
    </message>
    <message>
        <source>the folder %1 was renumbered by the server</source>
        <extracomment>%1 is a folder on the server, whose message numbers (UIDVALIDITY) changed</extracomment>
        <translation>сервер перенумеровал сообщения в папке %1</translation>
    </message>
    <message>
        <source>; check that the server is running and reachable, then synchronise again</source>
        <translation>; проверьте, что сервер работает и доступен, и повторите синхронизацию</translation>
    </message>
    <message>
        <source>list the folders</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>получить список папок</translation>
    </message>
    <message>
        <source>no such folder</source>
        <extracomment>The server has no default folder of this kind</extracomment>
        <translation>такой папки нет</translation>
    </message>
    <message>
        <source>create the folder %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder</extracomment>
        <translation>создать папку %1</translation>
    </message>
    <message>
        <source>the folder name &quot;%1&quot; holds a line break, which no command to the server can carry: rename the folder on the server</source>
        <extracomment>%1 is the folder&apos;s name, line breaks shown as <byte value="xd"/> and 
</extracomment>
        <translation>имя папки «%1» содержит перевод строки, который нельзя передать серверу ни в одной команде: переименуйте папку на сервере</translation>
    </message>
    <message>
        <source>open the folder %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder</extracomment>
        <translation>открыть папку %1</translation>
    </message>
    <message>
        <source>read the messages of %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder</extracomment>
        <translation>прочитать сообщения из %1</translation>
    </message>
    <message>
        <source>read the dates of %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is a folder, the dates those of its messages</extracomment>
        <translation>прочитать даты сообщений из %1</translation>
    </message>
</context>
<context>
    <name>ImapItem</name>
    <message>
        <source>the server cannot remove one message alone (no UIDPLUS)</source>
        <translation>сервер не умеет удалять отдельное сообщение (нет UIDPLUS)</translation>
    </message>
    <message>
        <source>mark a message deleted</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>пометить сообщение как удалённое</translation>
    </message>
    <message>
        <source>expunge a message</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; the message marked deleted is removed for good</extracomment>
        <translation>окончательно удалить сообщение</translation>
    </message>
    <message>
        <source>the message %1 is no longer in %2</source>
        <extracomment>%1 is the message&apos;s id, %2 a folder</extracomment>
        <translation>сообщения %1 больше нет в %2</translation>
    </message>
    <message>
        <source>the received time of %1 cannot be read</source>
        <extracomment>%1 is the message&apos;s id</extracomment>
        <translation>не удалось прочитать время получения сообщения %1</translation>
    </message>
    <message>
        <source>move a message to %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); %1 is the Trash folder</extracomment>
        <translation>переместить сообщение в %1</translation>
    </message>
    <message>
        <source>copy a message to %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); %1 is the Trash folder</extracomment>
        <translation>скопировать сообщение в %1</translation>
    </message>
    <message>
        <source>find the message just filed in %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open and of “cannot %1”; %1 is the Drafts folder</extracomment>
        <translation>найти сообщение, только что сохранённое в %1</translation>
    </message>
    <message>
        <source>cannot %1</source>
        <extracomment>%1 is “find the message just filed in …”</extracomment>
        <translation>не удалось %1</translation>
    </message>
    <message>
        <source>file a message in %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is the Drafts folder</extracomment>
        <translation>сохранить сообщение в %1</translation>
    </message>
</context>
<context>
    <name>ImapItems</name>
    <message>
        <source>the folder %1 was renumbered by the server</source>
        <extracomment>%1 is a folder on the server, whose message numbers (UIDVALIDITY) changed</extracomment>
        <translation>сервер перенумеровал сообщения в папке %1</translation>
    </message>
</context>
<context>
    <name>ImapLookahead</name>
    <message>
        <source>the synchronisation was stopped</source>
        <translation>синхронизация остановлена</translation>
    </message>
</context>
<context>
    <name>ImapSession</name>
    <message>
        <source>the connection was refused, or timed out</source>
        <extracomment>Why a command to the server failed when the server said nothing (fills %3 of “cannot %1 on %2: %3”)</extracomment>
        <translation>в соединении отказано или истекло время ожидания</translation>
    </message>
    <message>
        <source>the connection was lost, or timed out</source>
        <translation>соединение потеряно или истекло время ожидания</translation>
    </message>
    <message>
        <source>the TLS handshake failed</source>
        <translation>ошибка согласования TLS</translation>
    </message>
    <message>
        <source>its answer could not be read</source>
        <translation>не удалось разобрать ответ сервера</translation>
    </message>
    <message>
        <source>it does not accept the connection</source>
        <translation>сервер не принимает соединение</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>недостаточно памяти</translation>
    </message>
    <message>
        <source>it refused (libetpan code %1)</source>
        <extracomment>“it” is the server; %1 is a number</extracomment>
        <translation>сервер отказал (код libetpan %1)</translation>
    </message>
    <message>
        <source>it is self-signed, and no authority this machine trusts vouches for it</source>
        <translation>он самоподписанный, и его не подтверждает ни один центр сертификации, которому доверяет этот компьютер</translation>
    </message>
    <message>
        <source>its issuer is not one this machine trusts</source>
        <translation>его издателю этот компьютер не доверяет</translation>
    </message>
    <message>
        <source>it is made out to another name than %1</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>он выдан не на имя %1</translation>
    </message>
    <message>
        <source>it expired on %1</source>
        <extracomment>%1 is a date, 2026-12-31T23:59:59Z</extracomment>
        <translation>срок его действия истёк %1</translation>
    </message>
    <message>
        <source>it is not valid before %1</source>
        <extracomment>%1 is a date, 2026-12-31T23:59:59Z</extracomment>
        <translation>он действителен только с %1</translation>
    </message>
    <message>
        <source>the certificate of %1 is not trusted: %2</source>
        <extracomment>%1 is the server&apos;s name, %2 why (the texts about “it”, the certificate)</extracomment>
        <translation>сертификат %1 не вызывает доверия: %2</translation>
    </message>
    <message>
        <source> (its SHA-256 fingerprint is %1; to trust it on purpose, set CertificateFingerprint=%1 under [Imap], or name the certificates to trust in CertificateFile)</source>
        <extracomment>Follows the text above; %1 (twice) is the fingerprint, AB:CD:…; CertificateFingerprint, [Imap] and CertificateFile name settings: keep them</extracomment>
        <translation> (его отпечаток SHA-256: %1; чтобы сознательно доверять ему, задайте CertificateFingerprint=%1 в разделе [Imap] или укажите доверенные сертификаты в CertificateFile)</translation>
    </message>
    <message>
        <source>the server sent none</source>
        <extracomment>Why the certificate is not trusted: the server sent no certificate</extracomment>
        <translation>сервер его не прислал</translation>
    </message>
    <message>
        <source>it is not the certificate trusted before, which was %1; the server&apos;s certificate has changed</source>
        <extracomment>%1 is the fingerprint trusted before</extracomment>
        <translation>это не тот сертификат, которому доверяли раньше (%1); сертификат сервера изменился</translation>
    </message>
    <message>
        <source>the system has no trusted certificates</source>
        <translation>в системе нет доверенных сертификатов</translation>
    </message>
    <message>
        <source>%1 holds no certificate</source>
        <extracomment>%1 is a certificate file</extracomment>
        <translation>в %1 нет сертификатов</translation>
    </message>
    <message>
        <source>it cannot be checked</source>
        <translation>его не удалось проверить</translation>
    </message>
    <message>
        <source>%1 port %2</source>
        <extracomment>%1 is the server&apos;s name, %2 its port number; fills %1 of the next texts</extracomment>
        <translation>%1, порт %2</translation>
    </message>
    <message>
        <source>cannot connect to %1: no answer within %2 s; check the server name and port, and that this computer is online</source>
        <extracomment>%1 is “&lt;server&gt; port &lt;n&gt;”, %2 a number of seconds</extracomment>
        <translation>не удалось подключиться к %1: нет ответа за %2 с; проверьте имя сервера и порт, а также подключение компьютера к сети</translation>
    </message>
    <message>
        <source>cannot find %1: no such host; check the server name</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>не удалось найти %1: такого узла нет; проверьте имя сервера</translation>
    </message>
    <message>
        <source>cannot find %1: %2; check the server name, and that this computer is online</source>
        <extracomment>%1 is the server&apos;s name, %2 the system&apos;s reason</extracomment>
        <translation>не удалось найти %1: %2; проверьте имя сервера и подключение компьютера к сети</translation>
    </message>
    <message>
        <source>%1 refused the connection: no IMAP server listens there; check the port and the security</source>
        <extracomment>%1 is “&lt;server&gt; port &lt;n&gt;”; the security is TLS, STARTTLS or none, under Options</extracomment>
        <translation>%1: в соединении отказано, сервер IMAP там не работает; проверьте порт и способ защиты соединения</translation>
    </message>
    <message>
        <source>the server closed the connection, saying &quot;%1&quot;</source>
        <extracomment>%1 is what the server said as it left</extracomment>
        <translation>сервер закрыл соединение с ответом «%1»</translation>
    </message>
    <message>
        <source>the server sent nothing for %1 s and was left ([Imap] Timeout)</source>
        <extracomment>%1 is a number of seconds; [Imap] Timeout names a setting: keep it</extracomment>
        <translation>сервер ничего не присылал %1 с, и соединение прервано ([Imap] Timeout)</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>сервер закрыл соединение</translation>
    </message>
    <message>
        <source>the server said &quot;%1&quot;</source>
        <extracomment>%1 is the server&apos;s own words</extracomment>
        <translation>сервер ответил: «%1»</translation>
    </message>
    <message>
        <source>the account is full (%1); make room in it on the server, then synchronise again</source>
        <extracomment>%1 is what the server said</extracomment>
        <translation>учётная запись переполнена (%1); освободите в ней место на сервере и повторите синхронизацию</translation>
    </message>
    <message>
        <source>cannot %1 on %2: %3</source>
        <extracomment>%1 is what was being done (“list the folders”, “log in as ann”…), %2 the server&apos;s name, %3 why</extracomment>
        <translation>не удалось %1 на %2: %3</translation>
    </message>
    <message>
        <source>ask for capabilities</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>запросить список возможностей</translation>
    </message>
    <message>
        <source>start TLS</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>включить TLS</translation>
    </message>
    <message>
        <source>choose STARTTLS or TLS for the connection</source>
        <translation>выберите для соединения STARTTLS или TLS</translation>
    </message>
    <message>
        <source>ask the server&apos;s keeper which login it takes</source>
        <translation>спросите администратора сервера, какой способ входа он принимает</translation>
    </message>
    <message>
        <source>%1 refuses a password on this connection (it announces LOGINDISABLED): %2</source>
        <extracomment>%1 is the server&apos;s name, %2 what to do</extracomment>
        <translation>%1 не принимает пароль через это соединение (объявляет LOGINDISABLED): %2</translation>
    </message>
    <message>
        <source>plain text is for this machine only, not %1: choose TLS or STARTTLS</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>соединение без шифрования допустимо только с этим компьютером, но не с %1: выберите TLS или STARTTLS</translation>
    </message>
    <message>
        <source>%1 does not offer XOAUTH2: remove Login=xoauth2 under [Imap] and log in with a password</source>
        <extracomment>%1 is the server&apos;s name; Login=xoauth2 and [Imap] name a setting: keep them</extracomment>
        <translation>%1 не поддерживает XOAUTH2: удалите Login=xoauth2 в разделе [Imap] и входите с паролем</translation>
    </message>
    <message>
        <source>log in as %1</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open; %1 is the user name</extracomment>
        <translation>войти как %1</translation>
    </message>
    <message>
        <source>connect</source>
        <extracomment>Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was open</extracomment>
        <translation>подключиться</translation>
    </message>
</context>
<context>
    <name>ImapStore</name>
    <message>
        <source>an IMAP account has no Outbox</source>
        <translation>у учётной записи IMAP нет папки «Исходящие»</translation>
    </message>
    <message>
        <source>the folder %1 no longer exists</source>
        <extracomment>%1 is a folder on the server</extracomment>
        <translation>папки %1 больше нет</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <extracomment>%1 is the lock file, %2 the system&apos;s reason</extracomment>
        <translation>не удалось открыть %1: %2</translation>
    </message>
    <message>
        <source>The IMAP account %1 on %2 is in use by another synchronisation (another Zandor window, or zandor --sync). Let it end, then synchronise again.</source>
        <extracomment>%1 is the user name, %2 the server</extracomment>
        <translation>Учётная запись IMAP %1 на %2 занята другой синхронизацией (другое окно Zandor или zandor --sync). Дождитесь её окончания и повторите синхронизацию.</translation>
    </message>
    <message>
        <source>the server no longer has it (deleted or renamed since the last synchronisation), so nothing was removed from the Kelvo; the next synchronisation takes it as gone</source>
        <extracomment>Why a folder (named beside this text) was left alone; “it” is that folder</extracomment>
        <translation>её больше нет на сервере (удалена или переименована после прошлой синхронизации), поэтому с Kelvo ничего не удалено; следующая синхронизация сочтёт её удалённой</translation>
    </message>
</context>
<context>
    <name>KelvoStateDb</name>
    <message>
        <source>Another program is using it (another Zandor?): close it, then synchronise again.</source>
        <extracomment>Advice after why the file of sent marks failed; “it” is that file</extracomment>
        <translation>Файл занят другой программой (другим окном Zandor?): закройте её и повторите синхронизацию.</translation>
    </message>
    <message>
        <source>Make it a file you may write, in a folder you may write, then synchronise again.</source>
        <translation>Сделайте так, чтобы вы могли записывать в этот файл и в его папку, и повторите синхронизацию.</translation>
    </message>
    <message>
        <source>Free some space on its disk, then synchronise again.</source>
        <translation>Освободите место на диске с этим файлом и повторите синхронизацию.</translation>
    </message>
    <message>
        <source>Move it aside and synchronise again: Zandor then starts afresh and sends every message of the date range once more.</source>
        <translation>Переместите файл в другое место и повторите синхронизацию: Zandor начнёт заново и ещё раз отправит все сообщения за выбранный период.</translation>
    </message>
    <message>
        <source>Check the file and its disk, then synchronise again.</source>
        <translation>Проверьте файл и диск, на котором он находится, и повторите синхронизацию.</translation>
    </message>
    <message>
        <source>its folder is gone (was the mail folder moved or deleted?)</source>
        <extracomment>Why the file of sent marks cannot be used; “its” is the file&apos;s</extracomment>
        <translation>папки этого файла больше нет (папку с почтой переместили или удалили?)</translation>
    </message>
    <message>
        <source>the file is damaged, or is not Zandor&apos;s (%1)</source>
        <extracomment>%1 is SQLite&apos;s own reason</extracomment>
        <translation>файл повреждён или создан не Zandor (%1)</translation>
    </message>
    <message>
        <source>cannot open the sent marks in %1: %2</source>
        <extracomment>The sent marks: the file that keeps what was sent to the Kelvo. %1 is that file, %2 why</extracomment>
        <translation>не удалось открыть отметки об отправке в %1: %2</translation>
    </message>
    <message>
        <source>cannot write the sent marks in %1: %2</source>
        <extracomment>%1 is the file of sent marks, %2 why</extracomment>
        <translation>не удалось записать отметки об отправке в %1: %2</translation>
    </message>
    <message>
        <source>cannot read the sent marks in %1: %2</source>
        <extracomment>%1 is the file of sent marks, %2 why</extracomment>
        <translation>не удалось прочитать отметки об отправке из %1: %2</translation>
    </message>
    <message>
        <source>%1 was deleted or replaced while Zandor used it, so the marks of this synchronisation are lost: its messages will be sent to the Kelvo again next time</source>
        <extracomment>%1 is the file of sent marks</extracomment>
        <translation>файл %1 удалён или заменён, пока Zandor с ним работал, поэтому отметки этой синхронизации потеряны: её сообщения будут снова отправлены на Kelvo в следующий раз</translation>
    </message>
    <message>
        <source>cannot read the sent marks in %1: the file is damaged (%2).
<byte value="xd"/>%3</source>
        <extracomment>%1 is the file of sent marks, %2 SQLite&apos;s finding, %3 advice</extracomment>
        <translation>не удалось прочитать отметки об отправке из %1: файл повреждён (%2).
<byte value="xd"/>%3</translation>
    </message>
</context>
<context>
    <name>KelvoStateMarks</name>
    <message>
        <source>cannot mark %1 as sent: the date is not valid</source>
        <extracomment>%1 is the message&apos;s name in the mail store</extracomment>
        <translation>не удалось отметить %1 как отправленное: недопустимая дата</translation>
    </message>
</context>
<context>
    <name>MaildirFiles</name>
    <message>
        <source>it cannot be entered (%1)</source>
        <extracomment>Why a folder cannot be used; %1 is the system&apos;s reason</extracomment>
        <translation>к ней нет доступа (%1)</translation>
    </message>
    <message>
        <source> and </source>
        <extracomment>Joins the names of cur, new and tmp: “cur and new”</extracomment>
        <translation> и </translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <extracomment>%1 is a message file, %2 the system&apos;s reason</extracomment>
        <translation>не удалось прочитать %1: %2</translation>
    </message>
    <message>
        <source>it is damaged: %1 is not a folder</source>
        <extracomment>“it” is a mail folder; %1 is cur, new or tmp</extracomment>
        <translation>она повреждена: %1 — не папка</translation>
    </message>
    <message>
        <source>it is damaged: %1 are not folders</source>
        <extracomment>“it” is a mail folder; %1 is two or three of cur, new and tmp, joined by “ and ”</extracomment>
        <translation>она повреждена: %1 — не папки</translation>
    </message>
    <message>
        <source>cannot read the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>не удалось прочитать папку %1: %2</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>не удалось создать папку %1: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <extracomment>%1 is a file, %2 the system&apos;s reason</extracomment>
        <translation>не удалось создать %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <extracomment>%1 is a file, %2 the system&apos;s reason</extracomment>
        <translation>не удалось записать %1: %2</translation>
    </message>
    <message>
        <source>cannot move the message file %1: %2</source>
        <extracomment>%1 is the message file, %2 the system&apos;s reason</extracomment>
        <translation>не удалось переместить файл сообщения %1: %2</translation>
    </message>
    <message>
        <source>cannot open the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>не удалось открыть папку %1: %2</translation>
    </message>
    <message>
        <source>cannot sync the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason; syncing flushes its changes to the disk</extracomment>
        <translation>не удалось сбросить на диск папку %1: %2</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <extracomment>%1 is a message file, %2 the system&apos;s reason</extracomment>
        <translation>не удалось удалить %1: %2</translation>
    </message>
    <message>
        <source>cannot lock the folder %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason</extracomment>
        <translation>не удалось заблокировать папку %1: %2</translation>
    </message>
</context>
<context>
    <name>MaildirItem</name>
    <message>
        <source>the message %1 is no longer in %2</source>
        <extracomment>%1 is the message&apos;s file name, %2 its folder</extracomment>
        <translation>сообщения %1 больше нет в %2</translation>
    </message>
    <message>
        <source>the received time of %1 cannot be read</source>
        <extracomment>%1 is the message&apos;s file name</extracomment>
        <translation>не удалось прочитать время получения сообщения %1</translation>
    </message>
</context>
<context>
    <name>MaildirStore</name>
    <message>
        <source>the folder %1 no longer exists</source>
        <extracomment>%1 is a folder</extracomment>
        <translation>папки %1 больше нет</translation>
    </message>
    <message>
        <source>The mail folder %1 is in use by another synchronisation (another Zandor window, or zandor --sync). Let it end, then synchronise again.</source>
        <extracomment>%1 is the mail folder</extracomment>
        <translation>Папка с почтой %1 занята другой синхронизацией (другое окно Zandor или zandor --sync). Дождитесь её окончания и повторите синхронизацию.</translation>
    </message>
    <message>
        <source>The mail folder %1 holds no Maildir: there is no cur, new and tmp at its top (a Maildir++ store) nor in an Inbox folder of it (Inbox/cur).</source>
        <extracomment>%1 is the mail folder; one of the next two sentences follows</extracomment>
        <translation>В папке с почтой %1 нет Maildir: папок cur, new и tmp нет ни в ней самой (хранилище Maildir++), ни в её папке Inbox (Inbox/cur).</translation>
    </message>
    <message>
        <source> Choose your Maildir under Options, Mail Folder.</source>
        <extracomment>Follows the sentence above, after a space</extracomment>
        <translation> Выберите свою папку Maildir в окне «Параметры», «Папка с почтой».</translation>
    </message>
    <message>
        <source> %1 holds one: choose it under Options, Mail Folder.</source>
        <extracomment>Follows the sentence above, after a space; %1 is a folder that holds a Maildir</extracomment>
        <translation> Maildir есть в %1: выберите эту папку в окне «Параметры», «Папка с почтой».</translation>
    </message>
    <message>
        <source>the folder %1 cannot be read: %2</source>
        <extracomment>%1 is a folder, %2 why (“it is damaged: …”)</extracomment>
        <translation>не удалось прочитать папку %1: %2</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Try &apos;zandor --help&apos; for more information.</source>
        <translation>Подробнее: «zandor --help».</translation>
    </message>
    <message>
        <source>this build has no window; use --sync.</source>
        <translation>в этой сборке нет окна; используйте --sync.</translation>
    </message>
    <message>
        <source>there is no display to open the window on (DISPLAY is not set).
To synchronise without a window, run &apos;zandor --sync&apos; (see &apos;zandor --help&apos;).</source>
        <translation>нет дисплея, на котором можно открыть окно (переменная DISPLAY не задана).
Чтобы синхронизировать без окна, запустите «zandor --sync» (см. «zandor --help»).</translation>
    </message>
    <message>
        <source>not set</source>
        <translation>не задано</translation>
    </message>
    <message>
        <source>the window cannot be opened: no display could be reached (DISPLAY %1, WAYLAND_DISPLAY %2, QT_QPA_PLATFORM %3).
Check that the desktop session is running and that these name it. To synchronise without a window, run &apos;zandor --sync&apos; (see &apos;zandor --help&apos;).</source>
        <extracomment>%1, %2, %3 are the values of DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM</extracomment>
        <translation>не удаётся открыть окно: ни один дисплей недоступен (DISPLAY: %1, WAYLAND_DISPLAY: %2, QT_QPA_PLATFORM: %3).
Проверьте, что сеанс рабочего стола запущен и что эти переменные указывают на него. Чтобы синхронизировать без окна, запустите «zandor --sync» (см. «zandor --help»).</translation>
    </message>
    <message>
        <source>cannot write the transcript to %1: %2</source>
        <translation>не удаётся записать трассировку в %1: %2</translation>
    </message>
</context>
<context>
    <name>MessageReader</name>
    <message>
        <source> cannot be read as a mail message</source>
        <extracomment>Follows a file&apos;s name or “the message”</extracomment>
        <translation> не удаётся разобрать как почтовое сообщение</translation>
    </message>
    <message>
        <source>the message header cannot be read</source>
        <translation>не удалось прочитать заголовок сообщения</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <extracomment>%1 is a file, %2 the system&apos;s reason</extracomment>
        <translation>не удалось прочитать %1: %2</translation>
    </message>
    <message>
        <source>the message</source>
        <extracomment>Followed by “ cannot be read as a mail message”</extracomment>
        <translation>текст сообщения</translation>
    </message>
</context>
<context>
    <name>OptionsMailStore</name>
    <message>
        <source>Mail &amp;Folder</source>
        <translation>Папка с почто&amp;й</translation>
    </message>
    <message>
        <source>The Maildir that holds the mail to synchronise</source>
        <translation>Папка Maildir с почтой для синхронизации</translation>
    </message>
    <message>
        <source>B&amp;rowse...</source>
        <translation>О&amp;бзор...</translation>
    </message>
    <message>
        <source>Maildir fo&amp;lder</source>
        <translation>П&amp;апка Maildir</translation>
    </message>
    <message>
        <source>&amp;IMAP account</source>
        <translation>&amp;Учётная запись IMAP</translation>
    </message>
    <message>
        <source>IMAP Account</source>
        <translation>Учётная запись IMAP</translation>
    </message>
    <message>
        <source>Server &amp;name:</source>
        <translation>Им&amp;я сервера:</translation>
    </message>
    <message>
        <source>Port num&amp;ber:</source>
        <extracomment>The IMAP server&apos;s TCP port</extracomment>
        <translation>&amp;Номер порта:</translation>
    </message>
    <message>
        <source>None (this computer only)</source>
        <extracomment>No encryption: fit only for a server on this computer</extracomment>
        <translation>Нет (только этот компьютер)</translation>
    </message>
    <message>
        <source>Securit&amp;y:</source>
        <extracomment>The kind of connection to the IMAP server: TLS, STARTTLS or none</extracomment>
        <translation>&amp;Шифрование:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Имя пользователя:</translation>
    </message>
    <message>
        <source>Password in keyrin&amp;g...</source>
        <translation>Пароль &amp;в связке ключей...</translation>
    </message>
    <message>
        <source>Forget the certificate (&amp;Z)</source>
        <extracomment>The accelerator is in brackets: the letters of the text are taken in this dialog</extracomment>
        <translation>Забыть &amp;сертификат</translation>
    </message>
    <message>
        <source>Certificate: checked against the authorities this computer trusts.</source>
        <translation>Сертификат: проверяется по центрам сертификации, которым доверяет этот компьютер.</translation>
    </message>
    <message>
        <source>Certificate: trusted by its SHA-256 fingerprint %1.</source>
        <extracomment>%1 is the fingerprint, pairs of hexadecimal digits joined by colons</extracomment>
        <translation>Сертификат: доверенный по отпечатку SHA-256 %1.</translation>
    </message>
    <message>
        <source>Access token: from PasswordCommand at each login.</source>
        <extracomment>PasswordCommand is the name of a line of the settings file</extracomment>
        <translation>Токен доступа: из PasswordCommand при каждом входе.</translation>
    </message>
    <message>
        <source>Password: from PasswordCommand.</source>
        <extracomment>PasswordCommand is the name of a line of the settings file</extracomment>
        <translation>Пароль: из PasswordCommand.</translation>
    </message>
    <message>
        <source>Password: not set.</source>
        <translation>Пароль: не задан.</translation>
    </message>
    <message>
        <source>Password: in the keyring.</source>
        <translation>Пароль: в связке ключей.</translation>
    </message>
    <message>
        <source>Password: not set; it is asked for at Sync.</source>
        <extracomment>Sync is the main window&apos;s button</extracomment>
        <translation>Пароль: не задан; он будет запрошен при синхронизации.</translation>
    </message>
    <message>
        <source>Password: not set (no keyring is running); it is asked for once each start.</source>
        <translation>Пароль: не задан (связка ключей не запущена); он запрашивается один раз после каждого запуска.</translation>
    </message>
    <message>
        <source>Zandor - Mail Folder</source>
        <translation>Zandor - Папка с почтой</translation>
    </message>
    <message>
        <source>Not kept in the keyring (%1): it is asked for at each start.</source>
        <extracomment>%1 is why the keyring did not keep the password</extracomment>
        <translation>Не сохранён в связке ключей (%1): он запрашивается после каждого запуска.</translation>
    </message>
    <message>
        <source>Kept in the desktop keyring.</source>
        <translation>Сохранён в связке ключей рабочего стола.</translation>
    </message>
</context>
<context>
    <name>OptionsMessageFrames</name>
    <message>
        <source>Syncronize Message Removal</source>
        <translation>Синхронизировать удаление сообщений</translation>
    </message>
    <message>
        <source>Remove messages deleted in the mail from &amp;Kelvo also</source>
        <translation>Удалять из Kelvo сообщения, удал&amp;ённые в почте</translation>
    </message>
    <message>
        <source>Remove messages deleted on Kelvo from the &amp;mail also</source>
        <translation>Уда&amp;лять из почты сообщения, удалённые на Kelvo</translation>
    </message>
    <message>
        <source>Symbol Conversion</source>
        <translation>Преобразование символов</translation>
    </message>
    <message>
        <source>&amp;Western Conversion</source>
        <translation>&amp;Западное преобразование</translation>
    </message>
    <message>
        <source>Russian Conversion (for Ostr&amp;el&apos;s client)</source>
        <extracomment>Ostrel is the maker of a Kelvo mail client</extracomment>
        <translation>&amp;Русское преобразование (для клиента Ostrel)</translation>
    </message>
    <message>
        <source>Russian Conversion (For Dr&amp;avo client)</source>
        <extracomment>Dravo is a Kelvo mail client</extracomment>
        <translation>Русское преобразование (для &amp;клиента Dravo)</translation>
    </message>
    <message>
        <source>Messages &amp;split</source>
        <extracomment>The frame that says what becomes of messages too long for the Kelvo</extracomment>
        <translation>&amp;Длинные сообщения</translation>
    </message>
    <message>
        <source>par&amp;ts</source>
        <extracomment>After the box with the most parts a message is split into: &quot;Split no more than [5] parts&quot;</extracomment>
        <translation>&amp;частей</translation>
    </message>
    <message>
        <source>Truncate</source>
        <extracomment>What becomes of a message too long for the Kelvo: cut, or split into parts</extracomment>
        <translation>Обрезать</translation>
    </message>
    <message>
        <source>Split unlimited</source>
        <translation>Разбивать без ограничений</translation>
    </message>
    <message>
        <source>Split no more then</source>
        <extracomment>Followed by a box with a number and &quot;parts&quot;</extracomment>
        <translation>Разбивать не более чем на</translation>
    </message>
</context>
<context>
    <name>OptionsPluggedIn</name>
    <message>
        <source>When the Kelvo is plugged in</source>
        <translation>При подключении Kelvo</translation>
    </message>
    <message>
        <source>Synchronise w&amp;hen the Kelvo is plugged in</source>
        <translation>Син&amp;хронизировать при подключении Kelvo</translation>
    </message>
    <message>
        <source>Runs zandor --watch at each login: it synchronises, with no window open, when the Kelvo&apos;s port appears, and never in full</source>
        <translation>Запускает zandor --watch при каждом входе в систему: синхронизация идёт без открытого окна, когда появляется порт Kelvo, и никогда не бывает полной</translation>
    </message>
    <message>
        <source>Also remove messages deleted on the Kelvo (&amp;Q)</source>
        <extracomment>The accelerator is in brackets: the letters of the text are taken in this dialog</extracomment>
        <translation>Так&amp;же удалять сообщения, удалённые на Kelvo</translation>
    </message>
    <message>
        <source>Also remove from the Kelvo messages deleted in the mail (&amp;X)</source>
        <extracomment>The accelerator is in brackets: the letters of the text are taken in this dialog</extracomment>
        <translation>&amp;Также удалять из Kelvo сообщения, удалённые в почте</translation>
    </message>
</context>
<context>
    <name>OptionsRangeAndPort</name>
    <message>
        <source>the same as %1</source>
        <extracomment>Describes a stable device name; %1 is the device it points to (/dev/ttyUSB0)</extracomment>
        <translation>то же, что %1</translation>
    </message>
    <message>
        <source>&amp;Date Range</source>
        <translation>П&amp;ериод</translation>
    </message>
    <message>
        <source>Serial COM &amp;Port</source>
        <translation>&amp;Последовательный порт COM</translation>
    </message>
    <message>
        <source>Com %1</source>
        <extracomment>An entry of the port list; %1 is its number, 1 to 4</extracomment>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>De&amp;vice:</source>
        <translation>&amp;Файл устройства:</translation>
    </message>
    <message>
        <source>The serial device behind the chosen entry: pick one the system lists, or type any path</source>
        <translation>Последовательное устройство выбранного порта: выберите одно из найденных системой или введите любой путь</translation>
    </message>
    <message>
        <source>Last day</source>
        <translation>Последний день</translation>
    </message>
    <message>
        <source>Last 7 days</source>
        <translation>Последние 7 дней</translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation>Последние 30 дней</translation>
    </message>
    <message>
        <source>Last 90 days</source>
        <translation>Последние 90 дней</translation>
    </message>
    <message>
        <source>All</source>
        <extracomment>The date range of all messages, whatever their date</extracomment>
        <translation>Все</translation>
    </message>
    <message>
        <source>%1 does not exist on this machine</source>
        <extracomment>%1 is the path of a serial device</extracomment>
        <translation>%1 нет на этом компьютере</translation>
    </message>
</context>
<context>
    <name>PasswordCommand</name>
    <message>
        <source>; it said: %1</source>
        <extracomment>Ends the password command&apos;s failures below; %1 is the first line it wrote to its error output</extracomment>
        <translation>; она вывела: %1</translation>
    </message>
    <message>
        <source>no command is set</source>
        <extracomment>Why the password command gave no password</extracomment>
        <translation>команда не задана</translation>
    </message>
    <message>
        <source>/bin/sh could not be started: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>не удалось запустить /bin/sh: %1</translation>
    </message>
    <message>
        <source>the command did not finish within %1 seconds%2</source>
        <extracomment>%1 is a number of seconds, %2 is “; it said: …” or nothing</extracomment>
        <translation>команда не завершилась за %1 с%2</translation>
    </message>
    <message>
        <source>the command crashed%1</source>
        <extracomment>%1 is “; it said: …” or nothing</extracomment>
        <translation>команда завершилась аварийно%1</translation>
    </message>
    <message>
        <source>the command ended with status %1%2</source>
        <extracomment>%1 is the command&apos;s exit status, %2 is “; it said: …” or nothing</extracomment>
        <translation>команда завершилась с кодом %1%2</translation>
    </message>
    <message>
        <source>the command printed no password%1</source>
        <extracomment>%1 is “; it said: …” or nothing</extracomment>
        <translation>команда не вывела пароль%1</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Zandor - IMAP Password</source>
        <translation>Zandor - Пароль IMAP</translation>
    </message>
    <message>
        <source>Password of %1 on %2:</source>
        <extracomment>%1 is the user name, %2 the IMAP server&apos;s name</extracomment>
        <translation>Пароль пользователя %1 на сервере %2:</translation>
    </message>
</context>
<context>
    <name>PasswordKeyring</name>
    <message>
        <source>no keyring service is running</source>
        <translation>служба связки ключей не запущена</translation>
    </message>
    <message>
        <source>the keyring refused it, or its prompt was cancelled</source>
        <translation>связка ключей отказала в доступе, или её запрос был отменён</translation>
    </message>
</context>
<context>
    <name>PasswordSource</name>
    <message>
        <source>no command is set that prints one</source>
        <translation>не задана команда, которая его выводит</translation>
    </message>
    <message>
        <source>no PasswordCommand is set, and the desktop keyring holds no password of %1 on %2</source>
        <translation>PasswordCommand не задан, а в связке ключей рабочего стола нет пароля %1 на %2</translation>
    </message>
    <message>
        <source>no PasswordCommand is set, and no desktop keyring is running</source>
        <translation>PasswordCommand не задан, а связка ключей рабочего стола не запущена</translation>
    </message>
</context>
<context>
    <name>PluggedInNotice</name>
    <message>
        <source>%1 sent</source>
        <translation>Отправлено: %1</translation>
    </message>
    <message>
        <source>Kelvo synchronised</source>
        <translation>Kelvo синхронизирован</translation>
    </message>
    <message>
        <source>Stopped before anything was sent.</source>
        <translation>Остановлено до начала отправки.</translation>
    </message>
    <message>
        <source>Kelvo synchronisation failed</source>
        <translation>Ошибка синхронизации Kelvo</translation>
    </message>
</context>
<context>
    <name>PortPresence</name>
    <message>
        <source>the system does not let the port be watched (inotify: %1)</source>
        <translation>система не позволяет следить за портом (inotify: %1)</translation>
    </message>
    <message>
        <source>%1 cannot be watched: %2</source>
        <translation>не удаётся следить за %1: %2</translation>
    </message>
</context>
<context>
    <name>QtSerialLine</name>
    <message>
        <source>no such device</source>
        <extracomment>Why the serial port could not be opened; a hint sentence follows</extracomment>
        <translation>нет такого устройства</translation>
    </message>
    <message>
        <source>Check that the Kelvo&apos;s cable or USB adapter is plugged in and that the path of this port under Options is right.</source>
        <translation>Проверьте, что кабель или USB-адаптер Kelvo подключён и что путь к этому порту в окне «Параметры» указан верно.</translation>
    </message>
    <message>
        <source>permission denied</source>
        <extracomment>Why the serial port could not be opened</extracomment>
        <translation>доступ запрещён</translation>
    </message>
    <message>
        <source>Add your user to the dialout group (sudo adduser $USER dialout), then log out and log in again.</source>
        <translation>Добавьте своего пользователя в группу dialout (sudo adduser $USER dialout), затем выйдите из системы и войдите снова.</translation>
    </message>
    <message>
        <source>the port is in use by another program</source>
        <extracomment>Why the serial port could not be opened</extracomment>
        <translation>порт занят другой программой</translation>
    </message>
    <message>
        <source>Close the program that holds the port, then press Sync again.</source>
        <translation>Закройте программу, занимающую порт, затем снова нажмите «Синхронизировать».</translation>
    </message>
    <message>
        <source>the line settings could not be applied (%1)</source>
        <extracomment>Why the serial port could not be opened; %1 is the system&apos;s reason</extracomment>
        <translation>не удалось применить параметры порта (%1)</translation>
    </message>
    <message>
        <source>Check that the path of this port under Options is a serial port.</source>
        <translation>Проверьте, что путь к этому порту в окне «Параметры» указывает на последовательный порт.</translation>
    </message>
    <message>
        <source>the line was hung up</source>
        <extracomment>Shown in brackets when the line to the Kelvo was lost: the serial device went away</extracomment>
        <translation>связь по линии разорвана</translation>
    </message>
</context>
<context>
    <name>ReceivePhase</name>
    <message>
        <source>The message received from the Kelvo could not be saved: %1</source>
        <translation>Не удалось сохранить сообщение, полученное с Kelvo: %1</translation>
    </message>
    <message>
        <source>The draft %1 was made from a message on the Kelvo that the Kelvo will offer again, but it could not be removed: %2. Delete it from Drafts to keep one copy.</source>
        <translation>Черновик %1 создан из сообщения на Kelvo, которое Kelvo предложит снова, но удалить черновик не удалось: %2. Удалите его из папки «Черновики», чтобы осталась одна копия.</translation>
    </message>
    <message>
        <source>Receiving message: %1</source>
        <translation>Приём сообщения: %1</translation>
    </message>
    <message>
        <source>Comm Err 13
<byte value="xd"/>Message %1 written on the Kelvo is too long to receive (%2 bytes; at most %3). Shorten it or delete it on the Kelvo, then synchronise again to receive it and the messages behind it.</source>
        <translation>Comm Err 13
<byte value="xd"/>Сообщение %1, написанное на Kelvo, слишком длинное для приёма (размер в байтах: %2; допустимо не более %3). Сократите или удалите его на Kelvo, затем повторите синхронизацию, чтобы получить его и следующие за ним сообщения.</translation>
    </message>
    <message>
        <source>Message size: %1</source>
        <translation>Размер сообщения: %1</translation>
    </message>
    <message>
        <source>Receiving message ID: %1</source>
        <translation>Приём ID сообщения: %1</translation>
    </message>
    <message>
        <source>Waiting for messages...</source>
        <translation>Ожидание сообщений...</translation>
    </message>
</context>
<context>
    <name>RemovalPhase</name>
    <message>
        <source>%1 (number %2 on the Kelvo)</source>
        <translation>%1 (номер %2 на Kelvo)</translation>
    </message>
    <message>
        <source>Removing from Kelvo: %1</source>
        <translation>Удаление из Kelvo: %1</translation>
    </message>
    <message>
        <source>The Kelvo gave the message &quot;%1&quot; the identifier &quot;%2&quot;, which is not a hexadecimal number; it was not removed from the Kelvo.</source>
        <extracomment>%1 is the message&apos;s name in the mail, %2 what the Kelvo calls it</extracomment>
        <translation>Kelvo присвоил сообщению «%1» идентификатор «%2», который не является шестнадцатеричным числом; сообщение не удалено из Kelvo.</translation>
    </message>
</context>
<context>
    <name>Replies</name>
    <message>
        <source>A Break signal was received</source>
        <translation>Получен сигнал Break</translation>
    </message>
    <message>
        <source>Framing Error. The hardware detected a framing error</source>
        <translation>Ошибка кадра. Оборудование обнаружило ошибку кадрирования</translation>
    </message>
    <message>
        <source>Port Overrun. A character was not read from the hardware before the next character arrived and was lost</source>
        <translation>Переполнение порта. Символ не был прочитан из оборудования до прихода следующего и был потерян</translation>
    </message>
    <message>
        <source>Receive Buffer Overflow. There is no room in the receive buffer</source>
        <translation>Переполнение буфера приёма. В буфере приёма нет места</translation>
    </message>
    <message>
        <source>Parity Error. The hardware detected a parity error</source>
        <translation>Ошибка чётности. Оборудование обнаружило ошибку чётности</translation>
    </message>
    <message>
        <source>Transmit Buffer Full. The transmit buffer was full while trying to queue a character</source>
        <translation>Буфер передачи заполнен. Буфер передачи оказался полон при попытке поставить символ в очередь</translation>
    </message>
    <message>
        <source>Unexpected error retrieving Device Control Block (DCB) for the port</source>
        <translation>Непредвиденная ошибка при получении блока управления устройством (DCB) для порта</translation>
    </message>
    <message>
        <source>Unkown error</source>
        <translation>Неизвестная ошибка</translation>
    </message>
    <message>
        <source>      User Break      </source>
        <translation>      Прервано пользователем      </translation>
    </message>
    <message>
        <source>The Kelvo is no longer connected%1. The synchronisation was stopped; check the cable and try again.</source>
        <extracomment>%1 is empty or &quot; (what the system said)&quot;</extracomment>
        <translation>Kelvo больше не подключён%1. Синхронизация остановлена; проверьте кабель и повторите попытку.</translation>
    </message>
    <message>
        <source>Serial port error #%1
<byte value="xd"/>%2</source>
        <extracomment>%1 is the error&apos;s number, %2 what it means</extracomment>
        <translation>Ошибка последовательного порта №%1
<byte value="xd"/>%2</translation>
    </message>
    <message>
        <source>The Kelvo did not accept the start of a message or of a removal.</source>
        <translation>Kelvo не принял начало сообщения или удаления.</translation>
    </message>
    <message>
        <source>The Kelvo did not accept a field of a message, or the number of a message to remove.</source>
        <translation>Kelvo не принял поле сообщения или номер удаляемого сообщения.</translation>
    </message>
    <message>
        <source>The Kelvo did not accept a field of the message being sent.</source>
        <translation>Kelvo не принял поле отправляемого сообщения.</translation>
    </message>
    <message>
        <source>The Kelvo did not confirm a message, or the end of the messages.</source>
        <translation>Kelvo не подтвердил сообщение или конец списка сообщений.</translation>
    </message>
    <message>
        <source>The Kelvo did not accept the name given to a message written on it: it keeps the message and offers it again next time.</source>
        <translation>Kelvo не принял имя, присвоенное написанному на нём сообщению: он сохранит сообщение и предложит его снова в следующий раз.</translation>
    </message>
    <message>
        <source>The Kelvo sent something that has no place at this step.</source>
        <translation>Kelvo прислал данные, неуместные на этом шаге.</translation>
    </message>
    <message>
        <source>A message written on the Kelvo did not arrive whole.</source>
        <translation>Сообщение, написанное на Kelvo, пришло не полностью.</translation>
    </message>
    <message>
        <source>The Kelvo&apos;s list of the messages it holds did not arrive whole, so nothing is removed from the mail.</source>
        <translation>Список сообщений, хранящихся на Kelvo, пришёл не полностью, поэтому из почты ничего не удаляется.</translation>
    </message>
    <message>
        <source>The Kelvo answered out of step.</source>
        <translation>Kelvo ответил не в свою очередь.</translation>
    </message>
    <message>
        <source>Comm Err %1
<byte value="xd"/>%2 Check the cable and that the Kelvo is ready to synchronise, then synchronise again: nothing already sent goes twice.</source>
        <translation>Comm Err %1
<byte value="xd"/>%2 Проверьте кабель и готовность Kelvo к синхронизации, затем повторите синхронизацию: уже отправленное дважды не отправляется.</translation>
    </message>
</context>
<context>
    <name>RunReport</name>
    <message>
        <source>%1 parts</source>
        <translation>частей: %1</translation>
    </message>
    <message>
        <source>the last %1 of %2 parts</source>
        <translation>частей: последние %1 из %2</translation>
    </message>
    <message>
        <source>cut to %1 of %2 bytes</source>
        <translation>обрезано до %1 из %2 байт</translation>
    </message>
    <message>
        <source>Sent: </source>
        <translation>Отправлено: </translation>
    </message>
    <message>
        <source>Received into %1: %2</source>
        <translation>Получено в %1: %2</translation>
    </message>
    <message>
        <source>Removed from the Kelvo: %1 (written on the Kelvo, saved to %2 on %3)</source>
        <translation>Удалено из Kelvo: %1 (написано на Kelvo, сохранено %3 в %2)</translation>
    </message>
    <message>
        <source>Removed from the Kelvo: </source>
        <translation>Удалено из Kelvo: </translation>
    </message>
    <message>
        <source>Removed from the mail (to Trash): </source>
        <translation>Удалено из почты (в корзину): </translation>
    </message>
    <message>
        <source>Skipped: %1: %2</source>
        <translation>Пропущено: %1: %2</translation>
    </message>
    <message>
        <source>%1:%2 left</source>
        <translation>осталось %1:%2</translation>
    </message>
    <message>
        <source>message %1 of %2</source>
        <translation>сообщение %1 из %2</translation>
    </message>
    <message>
        <source>, part %1 of %2</source>
        <translation>, часть %1 из %2</translation>
    </message>
    <message>
        <source>1 message</source>
        <translation>1 сообщение</translation>
    </message>
    <message numerus="yes">
        <source>%n messages</source>
        <translation>
            <numerusform>%n сообщение</numerusform>
            <numerusform>%n сообщения</numerusform>
            <numerusform>%n сообщений</numerusform>
        </translation>
    </message>
    <message>
        <source>no message sent</source>
        <translation>ни одно сообщение не отправлено</translation>
    </message>
    <message>
        <source> sent</source>
        <translation> отправлено</translation>
    </message>
    <message>
        <source> all of them</source>
        <translation> каждое</translation>
    </message>
    <message>
        <source> %1 of them</source>
        <translation> %1 из них</translation>
    </message>
    <message>
        <source>,%1 split into %2 parts</source>
        <translation>,%1 разделено на части (всего %2)</translation>
    </message>
    <message>
        <source>, %1 cut to fit</source>
        <translation>, %1 обрезано по размеру</translation>
    </message>
    <message>
        <source>%1 received into %2</source>
        <translation>%1 получено в папку %2</translation>
    </message>
    <message>
        <source>%1 removed from the Kelvo</source>
        <translation>%1 удалено из Kelvo</translation>
    </message>
    <message>
        <source>%1 removed from the mail</source>
        <translation>%1 удалено из почты</translation>
    </message>
    <message>
        <source>%1 skipped (see Details)</source>
        <translation>%1 пропущено (см. «Подробности»)</translation>
    </message>
    <message>
        <source>complete: </source>
        <translation>завершена: </translation>
    </message>
    <message>
        <source>stopped by Break</source>
        <translation>прервана кнопкой «Прервать»</translation>
    </message>
    <message>
        <source>failed: </source>
        <translation>ошибка: </translation>
    </message>
    <message>
        <source>could not open Com %1</source>
        <translation>не удалось открыть Com %1</translation>
    </message>
    <message>
        <source>Last synchronisation %1: %2</source>
        <translation>Последняя синхронизация в %1: %2</translation>
    </message>
    <message>
        <source>No answer from the Kelvo on Com %1 (%2) for %3 s: is it connected and switched on? %4</source>
        <translation>Kelvo на Com %1 (%2) не отвечает %3 с: он подключён и включён? %4</translation>
    </message>
    <message>
        <source>No answer from the Kelvo on Com %1 (%2) for %3, so the synchronisation was stopped: is it connected and switched on? (--timeout sets how long to wait)</source>
        <translation>Kelvo на Com %1 (%2) не отвечал %3, поэтому синхронизация остановлена: он подключён и включён? (время ожидания задаёт --timeout)</translation>
    </message>
    <message>
        <source>1 second</source>
        <translation>1 секунду</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds</source>
        <translation>
            <numerusform>%n секунду</numerusform>
            <numerusform>%n секунды</numerusform>
            <numerusform>%n секунд</numerusform>
        </translation>
    </message>
    <message>
        <source>there is no home folder to keep it in</source>
        <translation>нет домашней папки для журнала</translation>
    </message>
    <message>
        <source>%1 cannot be made</source>
        <translation>не удаётся создать %1</translation>
    </message>
    <message>
        <source>Synchronisation of %1</source>
        <translation>Синхронизация от %1</translation>
    </message>
</context>
<context>
    <name>SendExchange</name>
    <message>
        <source>The message &quot;%1&quot; was sent to the Kelvo, but could not be marked as sent: %2</source>
        <translation>Сообщение «%1» отправлено на Kelvo, но его не удалось отметить как отправленное: %2</translation>
    </message>
    <message>
        <source>Message size: %1 bytes%2</source>
        <extracomment>%1 is a number of bytes, %2 empty or &quot; (truncated)&quot;</extracomment>
        <translation>Размер сообщения в байтах: %1%2</translation>
    </message>
</context>
<context>
    <name>SendPhase</name>
    <message>
        <source>The mail folder could not be read, so no mail was sent: %1</source>
        <translation>Не удалось прочитать папку с почтой, поэтому почта не отправлена: %1</translation>
    </message>
    <message>
        <source>the mail folder could not be read</source>
        <translation>не удалось прочитать папку с почтой</translation>
    </message>
    <message>
        <source>the synchronisation was interrupted</source>
        <translation>синхронизация была прервана</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>it is a folder</source>
        <extracomment>Why the settings file cannot be read (fills %2 of “The settings file %1 cannot be read: %2.”)</extracomment>
        <translation>это папка</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <extracomment>Why the settings file cannot be read</extracomment>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>it is not UTF-8 text (it may be UTF-16, or not text at all)</source>
        <extracomment>Why the settings file cannot be read</extracomment>
        <translation>это не текст в UTF-8 (возможно, UTF-16 или вообще не текст)</translation>
    </message>
    <message>
        <source>it is not in the form of a settings file</source>
        <extracomment>Why the settings file cannot be read</extracomment>
        <translation>он не похож на файл настроек</translation>
    </message>
    <message>
        <source>There is no home folder to keep %1 in%2.
<byte value="xd"/>Set HOME (or %3) to your home folder, then start Zandor again. Nothing was changed.</source>
        <extracomment>%1 is what would be kept there (“the settings”), %2 a detail that may be empty, %3 an environment variable</extracomment>
        <translation>Нет домашней папки для хранения %1%2.
<byte value="xd"/>Укажите свою домашнюю папку в переменной HOME (или %3) и снова запустите Zandor. Ничего не изменено.</translation>
    </message>
    <message>
        <source>the settings</source>
        <extracomment>Fills %1 of “There is no home folder to keep %1 in%2.”</extracomment>
        <translation>настроек</translation>
    </message>
    <message>
        <source>: %1 would be made in %2, which does not exist</source>
        <extracomment>Fills %2 of “There is no home folder to keep %1 in%2.”: %1 is the settings file, %2 the folder that is missing</extracomment>
        <translation>: %1 пришлось бы создать в %2, а такой папки нет</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be read: %2.
<byte value="xd"/>Mend it or move it aside, then start Zandor again. Nothing was changed.</source>
        <extracomment>%1 is the settings file, %2 why (“it is a folder”…); the 
<byte value="xd"/> is a line break</extracomment>
        <translation>Не удалось прочитать файл настроек %1: %2.
<byte value="xd"/>Исправьте его или переместите в другое место, затем снова запустите Zandor. Ничего не изменено.</translation>
    </message>
</context>
<context>
    <name>StatusBarWhere</name>
    <message>
        <source>no port</source>
        <extracomment>The status line&apos;s port when none is chosen in the options</extracomment>
        <translation>порт не выбран</translation>
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
        <translation>имя или адрес сервера, например imap.example.org, 192.0.2.7 или ::1 (без порта и схемы)</translation>
    </message>
    <message>
        <source>a number from 1 to 65535, or no Port for the security&apos;s own (993 with tls, 143 otherwise)</source>
        <translation>число от 1 до 65535 или пустой Port для порта по умолчанию (993 с tls, иначе 143)</translation>
    </message>
    <message>
        <source>tls, starttls or none (no Security for tls)</source>
        <translation>tls, starttls или none (пустой Security — tls)</translation>
    </message>
</context>
<context>
    <name>StoreOpener</name>
    <message>
        <source>then press Sync again.</source>
        <translation>затем снова нажмите «Синхронизировать».</translation>
    </message>
    <message>
        <source>then run again.</source>
        <translation>затем запустите снова.</translation>
    </message>
    <message>
        <source>No IMAP server is set.</source>
        <translation>Сервер IMAP не задан.</translation>
    </message>
    <message>
        <source>Set the server of the IMAP account under Options, </source>
        <translation>Задайте сервер учётной записи IMAP в окне «Параметры», </translation>
    </message>
    <message>
        <source>Set %1 in %2, </source>
        <translation>Задайте %1 в %2, </translation>
    </message>
    <message>
        <source>Set PasswordCommand under [Imap] in %1 to a command that prints a fresh access token (see the README), or remove Login=xoauth2 to log in with a password.</source>
        <translation>Задайте в разделе [Imap] файла %1 параметр PasswordCommand — команду, которая выводит свежий токен доступа (см. README), или удалите Login=xoauth2, чтобы входить по паролю.</translation>
    </message>
    <message>
        <source>Logging in with an access token needs a command that prints one.</source>
        <translation>Для входа с токеном доступа нужна команда, которая его выводит.</translation>
    </message>
    <message>
        <source>No access token could be had: %1.</source>
        <translation>Не удалось получить токен доступа: %1.</translation>
    </message>
    <message>
        <source>The IMAP password could not be read: %1.</source>
        <translation>Не удалось получить пароль IMAP: %1.</translation>
    </message>
    <message>
        <source>Set %1 in %2 to a command that prints it (for example: pass show mail/work), or keep the password in the desktop keyring from the window, </source>
        <translation>Задайте в %2 параметр %1 — команду, которая выводит пароль (например: pass show mail/work), или сохраните пароль в связке ключей рабочего стола из окна программы, </translation>
    </message>
    <message>
        <source>The IMAP server refused the access token.</source>
        <translation>Сервер IMAP отклонил токен доступа.</translation>
    </message>
    <message>
        <source>The IMAP server refused the password (%1).</source>
        <translation>Сервер IMAP отклонил пароль (%1).</translation>
    </message>
    <message>
        <source>Check the user under Options, </source>
        <translation>Проверьте имя пользователя в окне «Параметры», </translation>
    </message>
    <message>
        <source>Check %1 and %2 in %3, </source>
        <translation>Проверьте %1 и %2 в %3, </translation>
    </message>
    <message>
        <source>The IMAP server cannot be used: %1.</source>
        <translation>Сервер IMAP недоступен: %1.</translation>
    </message>
    <message>
        <source>Check the IMAP account under Options, </source>
        <translation>Проверьте учётную запись IMAP в окне «Параметры», </translation>
    </message>
    <message>
        <source>Check %1, Port, Security, CertificateFile and CertificateFingerprint in %2, </source>
        <translation>Проверьте %1, Port, Security, CertificateFile и CertificateFingerprint в %2, </translation>
    </message>
    <message>
        <source>The folder that keeps what was sent to the Kelvo, %1, cannot be used: %2.</source>
        <translation>Папку %1, где хранятся сведения об отправленном на Kelvo, нельзя использовать: %2.</translation>
    </message>
    <message>
        <source>Set HOME or XDG_STATE_HOME to a folder you can write, then try again.</source>
        <translation>Укажите в HOME или XDG_STATE_HOME папку, доступную вам для записи, и повторите попытку.</translation>
    </message>
    <message>
        <source>what was sent to the Kelvo</source>
        <translation>сведений об отправленном на Kelvo</translation>
    </message>
    <message>
        <source> ($XDG_STATE_HOME/zandor, by default ~/.local/state/zandor)</source>
        <translation> ($XDG_STATE_HOME/zandor, по умолчанию ~/.local/state/zandor)</translation>
    </message>
    <message>
        <source>it cannot be created or written</source>
        <translation>её не удаётся создать или записать в неё</translation>
    </message>
    <message>
        <source> in %1</source>
        <translation> в %1</translation>
    </message>
    <message>
        <source>%1%2 is &quot;%3&quot;, which cannot be used: it may be %4.</source>
        <translation>%1%2 имеет значение «%3», которое не подходит: допустимо %4.</translation>
    </message>
    <message>
        <source>Correct it under Options, </source>
        <translation>Исправьте его в окне «Параметры», </translation>
    </message>
    <message>
        <source>Correct it there, </source>
        <translation>Исправьте его там, </translation>
    </message>
    <message>
        <source>The mail folder %1 does not exist.</source>
        <translation>Папка с почтой %1 не существует.</translation>
    </message>
    <message>
        <source>Choose your Maildir under Options, Mail Folder, or create it, </source>
        <translation>Выберите свою папку Maildir в окне «Параметры», «Папка с почтой», или создайте её, </translation>
    </message>
    <message>
        <source>Choose your Maildir under Options, Mail Folder (or set Maildir in section [Store] of %1), or create it, </source>
        <translation>Выберите свою папку Maildir в окне «Параметры», «Папка с почтой» (или задайте Maildir в разделе [Store] файла %1), или создайте её, </translation>
    </message>
</context>
<context>
    <name>SyncDriver</name>
    <message>
        <source>Do you want to continue?</source>
        <translation>Продолжить?</translation>
    </message>
    <message>
        <source>&apos;Full sync&apos; will send all messages to Kelvo in the selected date range,</source>
        <translation>«Полная синхронизация» отправит на Kelvo все сообщения за выбранный период,</translation>
    </message>
    <message>
        <source>including those already sent with previous syncronizations.</source>
        <translation>включая уже отправленные при прошлых синхронизациях.</translation>
    </message>
    <message>
        <source>Messages previously sent to Kelvo are going to be removed from there,</source>
        <translation>Сообщения, ранее отправленные на Kelvo, будут удалены с него,</translation>
    </message>
    <message>
        <source>if they are no more included in the list to be sent now</source>
        <translation>если их больше нет в списке для текущей отправки</translation>
    </message>
    <message>
        <source>Messages previously sent, and then canceled on Kelvo,</source>
        <translation>Сообщения, ранее отправленные и затем удалённые на Kelvo,</translation>
    </message>
    <message>
        <source>are going to be removed from the mail also (they go to its Trash folder).</source>
        <translation>будут удалены и из почты (они попадут в её корзину).</translation>
    </message>
    <message>
        <source>No serial port is chosen. Choose the Kelvo&apos;s port under Options, then press Sync again.</source>
        <translation>Последовательный порт не выбран. Выберите порт Kelvo в окне «Параметры», затем снова нажмите «Синхронизировать».</translation>
    </message>
    <message>
        <source>Cannot open Com %1 (%2): %3</source>
        <translation>Не удаётся открыть Com %1 (%2): %3</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Отправлено: %1</translation>
    </message>
    <message>
        <source> (%1 truncated)</source>
        <translation> (обрезано: %1)</translation>
    </message>
    <message>
        <source> (%1 splitted)</source>
        <translation> (разделено: %1)</translation>
    </message>
    <message>
        <source>; Skipped: %1</source>
        <translation>; Пропущено: %1</translation>
    </message>
    <message>
        <source>Received: %1</source>
        <translation>Получено: %1</translation>
    </message>
    <message>
        <source>Removed from Kelvo: %1</source>
        <translation>Удалено из Kelvo: %1</translation>
    </message>
    <message>
        <source>Nothing removed from Kelvo: %1</source>
        <translation>Из Kelvo ничего не удалено: %1</translation>
    </message>
    <message>
        <source>not every folder was compared</source>
        <translation>сравнены не все папки</translation>
    </message>
    <message>
        <source>Removed from mail: %1</source>
        <translation>Удалено из почты: %1</translation>
    </message>
    <message>
        <source>Nothing removed from mail: the Kelvo&apos;s list of messages was not received whole</source>
        <translation>Из почты ничего не удалено: список сообщений Kelvo получен не полностью</translation>
    </message>
    <message>
        <source>Nothing was synchronised.</source>
        <translation>Ничего не синхронизировано.</translation>
    </message>
    <message>
        <source>Mail sync started</source>
        <translation>Синхронизация почты начата</translation>
    </message>
    <message>
        <source>Handshaking...</source>
        <translation>Установка связи...</translation>
    </message>
    <message>
        <source>     Handshake error     </source>
        <translation>     Ошибка установки связи     </translation>
    </message>
    <message>
        <source>The mail folder could not be read: %1</source>
        <translation>Не удалось прочитать папку с почтой: %1</translation>
    </message>
    <message>
        <source>Some mail folders could not be read: %1</source>
        <translation>Не удалось прочитать некоторые папки с почтой: %1</translation>
    </message>
</context>
<context>
    <name>WatchRun</name>
    <message>
        <source>%1 is gone</source>
        <translation>%1 отключён</translation>
    </message>
    <message>
        <source>no serial port is chosen: choose the Kelvo&apos;s port under Options</source>
        <translation>последовательный порт не выбран: выберите порт Kelvo в окне «Параметры»</translation>
    </message>
    <message>
        <source>%1 is there already: it is synchronised when it is next plugged in</source>
        <translation>%1 уже подключён: синхронизация будет при следующем подключении</translation>
    </message>
    <message>
        <source>waiting for %1 to appear</source>
        <translation>ожидание появления %1</translation>
    </message>
    <message>
        <source>&quot;Synchronise when the Kelvo is plugged in&quot; was cleared: stopping</source>
        <translation>флажок «Синхронизировать при подключении Kelvo» снят: завершение работы</translation>
    </message>
    <message>
        <source>%1 appeared; the window is open, and synchronises itself</source>
        <translation>%1 подключён; окно открыто и синхронизирует само</translation>
    </message>
    <message>
        <source>%1 appeared: synchronising</source>
        <translation>%1 подключён: синхронизация</translation>
    </message>
    <message>
        <source>agreed to in Options for runs when the Kelvo is plugged in</source>
        <translation>разрешено в окне «Параметры» для запусков при подключении Kelvo</translation>
    </message>
    <message>
        <source>waiting for %1 to go and come back</source>
        <translation>ожидание отключения и повторного подключения %1</translation>
    </message>
    <message>
        <source>the Kelvo did not answer: it may be switched off; nothing was done</source>
        <translation>Kelvo не ответил: возможно, он выключен; ничего не сделано</translation>
    </message>
    <message>
        <source>%1: stopping</source>
        <translation>%1: завершение работы</translation>
    </message>
    <message>
        <source>cannot watch for the Kelvo: %1</source>
        <translation>не удаётся отслеживать подключение Kelvo: %1</translation>
    </message>
</context>
<context>
    <name>WatchService</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Не удаётся создать папку %1.</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be removed: remove it by hand.</source>
        <translation>Не удаётся удалить файл автозапуска %1: удалите его вручную.</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be written: %2</source>
        <translation>Не удаётся записать файл автозапуска %1: %2</translation>
    </message>
    <message>
        <source>zandor --watch could not be started: it starts at the next login.</source>
        <translation>Не удалось запустить zandor --watch: он запустится при следующем входе в систему.</translation>
    </message>
    <message>
        <source>systemctl --user %1 failed%2.
<byte value="xd"/>Is Zandor installed (cmake --install, or its .deb), with %3 under lib/systemd/user? Run the command in a terminal to see more.</source>
        <translation>Ошибка systemctl --user %1%2.
<byte value="xd"/>Установлен ли Zandor (cmake --install или его пакет .deb) и есть ли %3 в lib/systemd/user? Запустите эту команду в терминале, чтобы узнать больше.</translation>
    </message>
</context>
<context>
    <name>WindowPasswords</name>
    <message>
        <source>refused</source>
        <extracomment>Why no access token could be had: the server refused the last one</extracomment>
        <translation>отказано</translation>
    </message>
    <message>
        <source>The server refused the password.
%1</source>
        <extracomment>%1 is the question &quot;Password of ann on mail.example.org:&quot;</extracomment>
        <translation>Сервер отклонил пароль.
%1</translation>
    </message>
    <message>
        <source>Keep the password of %1 on %2 in the desktop keyring?</source>
        <extracomment>%1 is the user name, %2 the IMAP server&apos;s name</extracomment>
        <translation>Сохранить пароль пользователя %1 на сервере %2 в связке ключей рабочего стола?</translation>
    </message>
    <message>
        <source>The password could not be kept in the keyring: %1</source>
        <extracomment>%1 is why the keyring did not keep it</extracomment>
        <translation>Не удалось сохранить пароль в связке ключей: %1</translation>
    </message>
</context>
<context>
    <name>zandor::AboutDialog</name>
    <message>
        <source>About Zandor</source>
        <translation>О программе Zandor</translation>
    </message>
    <message>
        <source>Keeps a Maildir mail store and a Kelvo handheld in step over a serial cable: messages written on the Kelvo come into the mail folder, the mail of the chosen folders and date range goes to the Kelvo, and deletions can follow in both directions.</source>
        <translation>Синхронизирует почтовое хранилище Maildir с карманным устройством Kelvo по последовательному кабелю: сообщения, написанные на Kelvo, попадают в папку почты, почта выбранных папок за выбранный период передаётся на Kelvo, а удаление сообщений может переноситься в обе стороны.</translation>
    </message>
    <message>
        <source>Written by the Zandor developers.
Built with Qt, GMime and SQLite.</source>
        <translation>Написано разработчиками Zandor.
Создано с помощью Qt, GMime и SQLite.</translation>
    </message>
    <message>
        <source>Licensed under the GNU General Public License, version 3 or later</source>
        <translation>Распространяется на условиях GNU General Public License версии 3 или более поздней</translation>
    </message>
    <message>
        <source>Report a problem: see &apos;Reporting a problem&apos; in the README, or run &apos;man&#xa0;zandor&apos;</source>
        <extracomment>&apos;Reporting a problem&apos; is a heading of the README, which stays in English; the space of &apos;man zandor&apos; is a no-break space, so that the command stays on one line</extracomment>
        <translation>Сообщить о проблеме: см. раздел «Reporting a problem» в README или выполните «man&#xa0;zandor»</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>zandor::CertificateDialog</name>
    <message>
        <source>Zandor - Certificate of %1</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>Zandor - Сертификат сервера %1</translation>
    </message>
    <message>
        <source>Zandor cannot confirm that %1 is the server it claims to be.</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>Zandor не может подтвердить, что %1 — действительно тот сервер, за который себя выдаёт.</translation>
    </message>
    <message>
        <source>The certificate of %1 has changed since you trusted it.</source>
        <extracomment>%1 is the server&apos;s name</extracomment>
        <translation>Сертификат сервера %1 изменился с тех пор, как вы ему доверились.</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Сервер:</translation>
    </message>
    <message>
        <source>Not trusted because:</source>
        <translation>Причина недоверия:</translation>
    </message>
    <message>
        <source>Issued to:</source>
        <translation>Кому выдан:</translation>
    </message>
    <message>
        <source>Issued by:</source>
        <translation>Кем выдан:</translation>
    </message>
    <message>
        <source>Valid:</source>
        <translation>Действителен:</translation>
    </message>
    <message>
        <source>from %1 until %2</source>
        <extracomment>%1 and %2 are dates and times, &quot;2025-01-31 12:00 UTC&quot;, or &quot;not given&quot;</extracomment>
        <translation>с %1 по %2</translation>
    </message>
    <message>
        <source>SHA-256 fingerprint:</source>
        <translation>Отпечаток SHA-256:</translation>
    </message>
    <message>
        <source>Trusted before:</source>
        <extracomment>The fingerprint of the certificate trusted until now</extracomment>
        <translation>Доверенный ранее:</translation>
    </message>
    <message>
        <source>Trust it only if the fingerprint is the one the server&apos;s keeper gives you. Zandor then trusts this certificate for this account, and refuses any other.</source>
        <translation>Доверяйте ему, только если отпечаток совпадает с тем, который сообщил вам администратор сервера. Тогда Zandor будет доверять этому сертификату для этой учётной записи и отклонять любой другой.</translation>
    </message>
    <message>
        <source>Trust this certificate</source>
        <translation>Доверять этому сертификату</translation>
    </message>
</context>
<context>
    <name>zandor::MainWindow</name>
    <message>
        <source>Kelvo Mail Sync</source>
        <extracomment>The main window&apos;s title
----------
The notification&apos;s title, as the main window&apos;s</extracomment>
        <translation>Kelvo: синхронизация почты</translation>
    </message>
    <message>
        <source>The log %1 cannot be read: %2</source>
        <extracomment>%1 is the run log&apos;s path, %2 why it cannot be read</extracomment>
        <translation>Не удаётся прочитать журнал %1: %2</translation>
    </message>
    <message>
        <source>Not synchronised yet</source>
        <translation>Синхронизации ещё не было</translation>
    </message>
    <message>
        <source>Press Break to stop.</source>
        <translation>Нажмите «Прервать», чтобы остановить.</translation>
    </message>
    <message>
        <source>&amp;Sync</source>
        <extracomment>The button that starts a synchronisation</extracomment>
        <translation>&amp;Синхронизировать</translation>
    </message>
    <message>
        <source>&amp;Break</source>
        <extracomment>The button that stops a synchronisation</extracomment>
        <translation>&amp;Прервать</translation>
    </message>
    <message>
        <source>&amp;Full Syncronization (duplicate messages possible)</source>
        <translation>По&amp;лная синхронизация (возможны дубликаты сообщений)</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <extracomment>The menu entry that opens the options dialog</extracomment>
        <translation>Пара&amp;метры</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <extracomment>The menu entry that opens the about box</extracomment>
        <translation>&amp;О программе</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <extracomment>The button that shows the list of what the run did</extracomment>
        <translation>Подро&amp;бности</translation>
    </message>
    <message>
        <source>A synchronisation is running. Stop it and quit?</source>
        <translation>Идёт синхронизация. Остановить её и выйти?</translation>
    </message>
    <message>
        <source>Drafts</source>
        <extracomment>The Drafts folder, named when the mail store cannot give its name</extracomment>
        <translation>Черновики</translation>
    </message>
    <message>
        <source>Synchronisation stopped by Break before it began</source>
        <translation>Синхронизация прервана кнопкой «Прервать» до начала</translation>
    </message>
    <message>
        <source>This run is not logged: %1</source>
        <extracomment>%1 is why the run log cannot be written</extracomment>
        <translation>Этот запуск не записывается в журнал: %1</translation>
    </message>
    <message>
        <source>Synchronisation cancelled</source>
        <translation>Синхронизация отменена</translation>
    </message>
    <message>
        <source>Cancelled: a question was answered No</source>
        <extracomment>A line of the run log; No is the answer button of the question</extracomment>
        <translation>Отменено: на вопрос ответили «Нет»</translation>
    </message>
    <message>
        <source>Log: %1</source>
        <extracomment>%1 is the path of the run log</extracomment>
        <translation>Журнал: %1</translation>
    </message>
    <message>
        <source>Check the IMAP account...</source>
        <translation>Проверить учётную запись IMAP...</translation>
    </message>
    <message>
        <source>Choose mail folder...</source>
        <translation>Выбрать папку с почтой...</translation>
    </message>
    <message>
        <source>No mail folders to show yet. Check the IMAP account under Options, then tick the folders to synchronise.</source>
        <translation>Пока нет почтовых папок. Проверьте учётную запись IMAP в окне «Параметры», затем отметьте папки для синхронизации.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted: %2.
See it, and trust it if its fingerprint is the one the server&apos;s keeper gives you.</source>
        <extracomment>%1 is the server&apos;s name, %2 why its certificate is not trusted</extracomment>
        <translation>Сертификату сервера %1 нет доверия: %2.
Посмотрите его и доверьтесь ему, если его отпечаток совпадает с тем, который сообщил вам администратор сервера.</translation>
    </message>
    <message>
        <source>Check the certificate...</source>
        <translation>Проверить сертификат...</translation>
    </message>
    <message>
        <source>No password was given for %1.</source>
        <extracomment>%1 is the account, as user@server</extracomment>
        <translation>Пароль для %1 не указан.</translation>
    </message>
    <message>
        <source>Enter the password...</source>
        <translation>Ввести пароль...</translation>
    </message>
    <message>
        <source>No mail folders to show yet. Choose the folder that holds your Maildir (often ~/Maildir or ~/Mail), then tick the folders to synchronise.</source>
        <translation>Пока нет почтовых папок. Выберите папку с вашим Maildir (обычно ~/Maildir или ~/Mail), затем отметьте папки для синхронизации.</translation>
    </message>
    <message>
        <source>The mail folder %1 does not exist yet. %2</source>
        <extracomment>%1 is the mail folder&apos;s path, %2 the text &quot;No mail folders to show yet...&quot;</extracomment>
        <translation>Папка с почтой %1 ещё не существует. %2</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <extracomment>%1 is the IMAP server&apos;s name</extracomment>
        <translation>Подключение к %1...</translation>
    </message>
</context>
<context>
    <name>zandor::OptionsDialog</name>
    <message>
        <source>Zandor - Options</source>
        <translation>Zandor - Параметры</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>От&amp;мена</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;ОК</translation>
    </message>
    <message>
        <source>Mail</source>
        <extracomment>The tab of the mail store: a Maildir folder or an IMAP account</extracomment>
        <translation>Почта</translation>
    </message>
    <message>
        <source>Kelvo</source>
        <extracomment>The tab of the date range, the port and what is removed</extracomment>
        <translation>Kelvo</translation>
    </message>
    <message>
        <source>Conversion</source>
        <extracomment>The tab of the character conversion and of long messages</extracomment>
        <translation>Преобразование</translation>
    </message>
</context>
<context>
    <name>zandor::SyncStatusBar</name>
    <message>
        <source>message 888 of 888, part 88 of 88, 88:88 left</source>
        <extracomment>Only measured, never shown: the longest progress text there is, written as the run&apos;s progress is translated</extracomment>
        <translation>сообщение 888 из 888, часть 88 из 88, осталось 88:88</translation>
    </message>
    <message>
        <source>%1: %v of %m</source>
        <extracomment>%1 is the folder being scanned, %v the number of its message, %m how many it holds</extracomment>
        <translation>%1: %v из %m</translation>
    </message>
    <message>
        <source>1 byte</source>
        <extracomment>How much was sent to the Kelvo so far</extracomment>
        <translation>1 байт</translation>
    </message>
    <message numerus="yes">
        <source>%n bytes</source>
        <translation>
            <numerusform>%n байт</numerusform>
            <numerusform>%n байта</numerusform>
            <numerusform>%n байт</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 sent</source>
        <extracomment>%1 is how much was sent to the Kelvo: &quot;12 bytes&quot;, &quot;3.4 KiB&quot;</extracomment>
        <translation>Отправлено: %1</translation>
    </message>
</context>
</TS>
