<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="en_GB">
<context>
    <name>CliCommand</name>
    <message>
        <source>check the player&apos;s system files</source>
        <translation>controlla i file di sistema del lettore</translation>
    </message>
    <message>
        <source>Checks that the player&apos;s system files are there (the start file and the two system
programs); changes nothing.
Exit 0: all there; 1: one is missing (&quot;reinstall&quot; puts it back); 3: no player.</source>
        <translation>Controlla che sul lettore ci siano i file di sistema (il file di avvio e i due programmi
di sistema); non cambia nulla.
Uscita 0: ci sono tutti; 1: ne manca qualcuno (&quot;reinstall&quot; lo rimette); 3: nessun lettore.</translation>
    </message>
    <message>
        <source>SOFTWARE CONTROL COMPLETED</source>
        <translation>CONTROLLO SOFTWARE COMPLETATO</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>mancante</translation>
    </message>
    <message>
        <source>put the latest system update onto the player</source>
        <translation>copia sul lettore l&apos;ultimo aggiornamento del sistema</translation>
    </message>
    <message>
        <source>Downloads the system update, unpacks and checks it, and copies it onto the player, which
installs it at its next start. The copy is prepared aside and then put in place whole: a
failure leaves the player&apos;s update folder as it was.</source>
        <translation>Scarica l&apos;aggiornamento del sistema, lo estrae e lo controlla, e lo copia sul lettore, che
lo installa alla prossima accensione. La copia è preparata a parte e poi messa al suo posto
per intero: un errore lascia la cartella di aggiornamento del lettore com&apos;era.</translation>
    </message>
    <message>
        <source>save the songs and playlists into a new dated folder inside FOLDER</source>
        <translation>salva basi e playlist in una nuova cartella datata dentro FOLDER</translation>
    </message>
    <message>
        <source>Saves the songs and the playlists into a new folder &quot;Corvel3 backup YYYY-MM-DD HHMM&quot;
inside FOLDER, with a manifest of every saved file (size and SHA-256), and checks every
copy. Nothing in FOLDER is deleted or replaced. FOLDER must exist; a folder on the
player, the root of a drive or of the system and the home folder are refused.
Exit 0 only when every file was saved and checked.</source>
        <translation>Salva le basi e le playlist in una nuova cartella &quot;Corvel3 backup AAAA-MM-GG HHMM&quot; dentro
FOLDER, con l&apos;elenco di ogni file salvato (dimensione e SHA-256), e controlla ogni copia.
Nulla in FOLDER viene eliminato o sostituito. FOLDER deve esistere; una cartella sul
lettore, la radice di un&apos;unità o del sistema e la cartella home sono rifiutate.
Uscita 0 solo quando ogni file è stato salvato e controllato.</translation>
    </message>
    <message>
        <source>copy a backup back onto the player</source>
        <translation>ricopia sul lettore una copia di backup</translation>
    </message>
    <message>
        <source>Copies a backup back onto the player. FOLDER is a backup (&quot;Corvel3 backup ...&quot;) or the
folder that holds dated backups: then the newest complete one is restored, after a
question. Before anything is written, every file to be restored is checked against the
backup&apos;s manifest: when one is missing or changed nothing is written and the files are
named. Nothing on the player is deleted; a different file already there is replaced only
after a question (one an interrupted restore left cut short, at once).</source>
        <translation>Ricopia sul lettore una copia di backup. FOLDER è una copia (&quot;Corvel3 backup ...&quot;)
o la cartella che contiene le copie datate: allora, dopo una domanda, si ripristina la più
recente completa. Prima di scrivere, ogni file da ripristinare è controllato con
l&apos;elenco della copia: se uno manca o è cambiato non si scrive nulla e i file sono
nominati. Nulla sul lettore viene eliminato; un file già presente e diverso è sostituito
solo dopo una domanda (uno rimasto a metà da un ripristino interrotto, subito).</translation>
    </message>
    <message>
        <source>reinstall the player&apos;s system</source>
        <translation>reinstalla il sistema del lettore</translation>
    </message>
    <message>
        <source>Downloads the full system, checks it, prepares it on the player and puts it in place of
the old one, then installs the latest update; a failure before the swap leaves the old
system. Without an option the songs stay where they are.</source>
        <translation>Scarica il sistema completo, lo controlla, lo prepara sul lettore e lo mette al posto del
vecchio, poi installa l&apos;ultimo aggiornamento; un errore prima dello scambio lascia il
vecchio sistema. Senza opzioni le basi restano al loro posto.</translation>
    </message>
    <message>
        <source>save the songs into FOLDER (into a new dated folder when it is not empty),
check them, erase the player, reinstall and copy them back; FOLDER stays</source>
        <translation>salva le basi in FOLDER (in una nuova cartella datata se FOLDER non è vuota),
le controlla, cancella il lettore, reinstalla e le ricopia; FOLDER resta</translation>
    </message>
    <message>
        <source>erase every song, after a question</source>
        <translation>cancella tutte le basi, dopo una domanda</translation>
    </message>
    <message>
        <source>--erase and --restore exclude each other</source>
        <translation>--erase e --restore si escludono</translation>
    </message>
    <message>
        <source>--restore needs FOLDER</source>
        <translation>--restore richiede FOLDER</translation>
    </message>
    <message>
        <source>optimise the song library</source>
        <translation>ottimizza la libreria delle basi</translation>
    </message>
    <message>
        <source>Optimises the song library; with no step given, all three. The split ends with the
defragmentation. With --dry-run nothing changes: every action the real optimisation
would take is listed, and a summary at the end says what it would do.</source>
        <translation>Ottimizza la libreria delle basi; senza passi indicati, tutti e tre. La suddivisione si
chiude con la deframmentazione. Con --dry-run nulla cambia: ogni azione che la vera
ottimizzazione farebbe è elencata, e alla fine un riepilogo dice cosa farebbe.</translation>
    </message>
    <message>
        <source>delete the files the player cannot use</source>
        <translation>elimina i file che il lettore non sa usare</translation>
    </message>
    <message>
        <source>move the images into the folder &quot;Images&quot;</source>
        <translation>sposta le immagini nella cartella &quot;Images&quot;</translation>
    </message>
    <message>
        <source>split folders of more than 1000 songs by title (playlists follow)</source>
        <translation>divide per titolo le cartelle di più di 1000 basi (le playlist seguono)</translation>
    </message>
    <message>
        <source>list what would be done and change nothing</source>
        <translation>elenca cosa si farebbe e non cambia nulla</translation>
    </message>
    <message>
        <source>the language of the messages (else: Corvel.ini, then LC_ALL, LC_MESSAGES, LANG)</source>
        <translation>la lingua dei messaggi (altrimenti: Corvel.ini, poi LC_ALL, LC_MESSAGES, LANG)</translation>
    </message>
    <message>
        <source>answer every question with the answer that lets the operation go on</source>
        <translation>risponde a ogni domanda con la risposta che lascia proseguire</translation>
    </message>
    <message>
        <source>one JSON object per event on stdout, one a line</source>
        <translation>un oggetto JSON per evento su stdout, uno per riga</translation>
    </message>
    <message>
        <source>this help; COMMAND --help: the command&apos;s</source>
        <translation>questo aiuto; COMMAND --help: quello del comando</translation>
    </message>
    <message>
        <source>the version</source>
        <translation>la versione</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>opzione sconosciuta &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 needs %2</source>
        <translation>%1 richiede %2</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 non accetta valori</translation>
    </message>
    <message>
        <source>no folder &apos;%1&apos;</source>
        <translation>la cartella &apos;%1&apos; non esiste</translation>
    </message>
    <message>
        <source>--lang takes it or en</source>
        <translation>--lang accetta it o en</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>comando sconosciuto &apos;%1&apos;</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>nessun comando</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>argomento in più &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Usage: corvel3-cli [OPTIONS] COMMAND [ARGUMENTS]

</source>
        <translation>Uso: corvel3-cli [OPZIONI] COMMAND [ARGOMENTI]

</translation>
    </message>
    <message>
        <source>Looks after a Corvel3 player plugged in by USB, whose drive is found among the mounted
volumes by its label &quot;corvel3&quot;. Each command does what the same button of the window does.

Commands:
</source>
        <translation>Cura un lettore Corvel3 collegato via USB, la cui unità si trova tra i volumi montati per
la sua etichetta &quot;corvel3&quot;. Ogni comando fa quel che fa lo stesso pulsante della finestra.

Comandi:
</translation>
    </message>
    <message>
        <source>
Options (before or after the command):
</source>
        <translation>
Opzioni (prima o dopo il comando):
</translation>
    </message>
    <message>
        <source>
Questions are asked on the terminal; without one each takes its safe answer (no deletion,
no overwrite, stop after an error), with --yes the one that lets the operation go on.
Ctrl-C stops the operation at its next safe point; a second Ctrl-C ends the program at
once. Progress goes to stderr. Every file deleted, moved or replaced is logged in
%1.

Exit codes: 0 done, 1 failed, declined or stopped, 2 usage error, 3 player not found,
130 stopped by Ctrl-C.
Environment: CORVEL3_VOLUMES, CORVEL3_UPDATE_SERVER, CORVEL3_UNPACKER (see the README).
&apos;corvel3-cli COMMAND --help&apos; describes a command.
</source>
        <translation>
Le domande si fanno sul terminale; senza terminale ognuna prende la risposta sicura (nessuna
eliminazione, nessuna sovrascrittura, stop dopo un errore), con --yes quella che lascia
proseguire. Ctrl-C ferma l&apos;operazione al prossimo punto sicuro; un secondo Ctrl-C chiude
subito il programma. L&apos;avanzamento va su stderr. Ogni file eliminato, spostato o sostituito
è annotato in %1.

Codici di uscita: 0 fatto, 1 non riuscito, annullato o fermato, 2 uso sbagliato, 3 lettore
non trovato, 130 fermato con Ctrl-C.
Ambiente: CORVEL3_VOLUMES, CORVEL3_UPDATE_SERVER, CORVEL3_UNPACKER (vedi il README).
&apos;corvel3-cli COMMAND --help&apos; descrive un comando.
</translation>
    </message>
    <message>
        <source>Usage: corvel3-cli [OPTIONS] %1

</source>
        <translation>Uso: corvel3-cli [OPZIONI] %1

</translation>
    </message>
    <message>
        <source>
Options of %1:
</source>
        <translation>
Opzioni di %1:
</translation>
    </message>
    <message>
        <source>
Common options: --lang it|en, --yes, --json, --help (&apos;corvel3-cli --help&apos;).
</source>
        <translation>
Opzioni comuni: --lang it|en, --yes, --json, --help (&apos;corvel3-cli --help&apos;).
</translation>
    </message>
    <message>
        <source>check the library against the player&apos;s rules</source>
        <translation>controlla la libreria secondo le regole del lettore</translation>
    </message>
    <message>
        <source>Checks the library: playlist lines that point at no song (and where the song is now),
unreadable or damaged songs (MP3, MIDI, empty), companion files without their song, names
FAT cannot store or the player cannot show, folders of more than 1000 songs, duplicate songs,
free space for the system.
With --fix it offers, group by group and after a question, only safe fixes: re-point lines
whose song is elsewhere, remove dead lines, rename names (the playlists follow), delete
duplicate copies (a choice per set of copies). Without a terminal every question takes its
safe answer and nothing changes; --yes takes the fixes but never deletes a copy, which needs
a yes typed on the terminal. With --dry-run nothing changes and nothing is asked: every fix
is listed.
Exit 0: no problems; 1: problems left; 3: no player.</source>
        <translation>Controlla la libreria: righe di playlist senza base (e dove la base è ora), basi illeggibili
o danneggiate (MP3, MIDI, vuote), file compagni senza base, nomi che FAT non accetta o il
lettore non mostra, cartelle di più di 1000 basi, basi doppie, spazio libero per il sistema.
Con --fix propone, gruppo per gruppo e dopo una domanda, solo correzioni sicure: ripuntare le
righe la cui base è altrove, togliere le righe morte, rinominare i nomi (le playlist seguono),
eliminare le copie doppie (una scelta per ogni gruppo di copie). Senza terminale ogni domanda
prende la risposta sicura e nulla cambia; --yes accetta le correzioni ma mai l&apos;eliminazione
delle copie, che vuole un sì scritto sul terminale. Con --dry-run nulla cambia e nulla si
chiede: ogni correzione è elencata.
Uscita 0: nessun problema; 1: problemi rimasti; 3: nessun lettore.</translation>
    </message>
    <message>
        <source>offer the safe fixes, each after a question</source>
        <translation>propone le correzioni sicure, ognuna dopo una domanda</translation>
    </message>
    <message>
        <source>list the fixes and change nothing</source>
        <translation>elenca le correzioni e non cambia nulla</translation>
    </message>
    <message>
        <source>list the backups in FOLDER</source>
        <translation>elenca le copie di backup in FOLDER</translation>
    </message>
    <message>
        <source>Lists the backups in FOLDER (or FOLDER itself when it is one), newest first: date, name,
songs, size, complete or not, whether every file is there with its size, and the bytes new
and shared with other backups. No player needed. Exit 1 when FOLDER holds none.</source>
        <translation>Elenca le copie di backup in FOLDER (o FOLDER stessa se è una copia), dalla più recente: data,
nome, basi, dimensione, completa o no, se ogni file c&apos;è con la sua dimensione, e i byte nuovi
e quelli condivisi con altre copie. Non serve il lettore. Uscita 1 se FOLDER non ne contiene.</translation>
    </message>
    <message>
        <source>check a backup against its manifest</source>
        <translation>controlla una copia di backup con il suo elenco</translation>
    </message>
    <message>
        <source>Checks a backup against its manifest without restoring it: every file there with its
size; with --read-data every byte too (SHA-256). FOLDER is a backup or the folder that holds
them: then the newest complete one. No player needed.
Exit 0: all whole; 1: files missing or damaged (named), or an incomplete backup.</source>
        <translation>Controlla una copia di backup con il suo elenco dei files, senza ripristinarla: che ogni file
ci sia con la sua dimensione; con --read-data anche ogni byte (SHA-256). FOLDER è una copia
o la cartella che le contiene: allora la più recente completa. Non serve il lettore.
Uscita 0: tutto integro; 1: files mancanti o danneggiati (nominati), o copia incompleta.</translation>
    </message>
    <message>
        <source>read and check every byte</source>
        <translation>legge e controlla ogni byte</translation>
    </message>
    <message>
        <source>remove the backups older than the N newest complete ones</source>
        <translation>elimina le copie di backup più vecchie delle N complete più recenti</translation>
    </message>
    <message>
        <source>Removes from FOLDER the backups older than its N newest complete ones; the newest complete
one always stays, newer backups (incomplete ones too) stay, a backup that is a link is left
alone. A song shared with a backup that stays remains in it. Every file removed is logged.
With --dry-run it lists the backups it would remove. No player needed.</source>
        <translation>Elimina da FOLDER le copie di backup più vecchie delle N complete più recenti; la più recente
completa resta sempre, le copie più nuove (anche incomplete) restano, una copia che è un
collegamento non viene toccata. Una base condivisa con una copia che resta rimane in quella.
Ogni file eliminato è annotato. Con --dry-run elenca le copie che eliminerebbe. Non serve il
lettore.</translation>
    </message>
    <message>
        <source>how many complete backups to keep (at least 1)</source>
        <translation>quante copie complete tenere (almeno 1)</translation>
    </message>
    <message>
        <source>list what would be removed and change nothing</source>
        <translation>elenca cosa si eliminerebbe e non cambia nulla</translation>
    </message>
    <message>
        <source>prune needs --keep N</source>
        <translation>prune richiede --keep N</translation>
    </message>
    <message>
        <source>--keep takes a number from 1 up</source>
        <translation>--keep accetta un numero da 1 in su</translation>
    </message>
    <message>
        <source>restore PATH only (relative to the player&apos;s root, as in the backup: a folder
with everything below it, a file alone); several may follow. Only those are
checked and written</source>
        <translation>ripristina solo PATH (relativo alla radice del lettore, come nella copia: una
cartella con tutto ciò che contiene, un file da solo); se ne possono dare
diversi. Si controllano e si scrivono solo quelli</translation>
    </message>
    <message>
        <source>--only: &apos;%1&apos; is not in the backup</source>
        <translation>--only: &apos;%1&apos; non è nella copia di backup</translation>
    </message>
</context>
<context>
    <name>FolderSplit</name>
    <message>
        <source>Loading resources...</source>
        <translation>Caricamento risorse...</translation>
    </message>
    <message>
        <source>Operation completed</source>
        <translation>Operazione completata</translation>
    </message>
    <message>
        <source>Operation completed</source>
        <comment>it: Operazione Completata</comment>
        <translation>Operazione Completata</translation>
    </message>
    <message>
        <source>All folders are already optimized, no operation needed</source>
        <translation>Tutte le cartelle sono già ottimizzate, nessuna operazione necessaria</translation>
    </message>
    <message>
        <source>Folders with too many files found</source>
        <translation>Trovate cartelle con troppi file</translation>
    </message>
    <message>
        <source>The following folders contain more than 1000 bases and will be divided into folders with no more than 1000 bases for each:
</source>
        <translation>Le seguenti cartelle contengono più di 1000 basi e verranno suddivise in cartelle con non più di 1000 basi ciascuna:
</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <source>Cannot write the split journal in </source>
        <translation>Impossibile scrivere il registro della suddivisione in </translation>
    </message>
    <message>
        <source>
No song has been moved.</source>
        <translation>
Nessuna base è stata spostata.</translation>
    </message>
    <message>
        <source>Optimizing folders </source>
        <translation>Ottimizzazione cartelle </translation>
    </message>
    <message>
        <source>Not every playlist could be updated. The split has been interrupted; the next optimization will complete the playlists.</source>
        <translation>Non è stato possibile aggiornare tutte le playlist. La suddivisione è stata interrotta; alla prossima ottimizzazione le playlist verranno completate.</translation>
    </message>
    <message>
        <source>WARNING: It is recommended to rebuild your Database to improve performance</source>
        <translation>ATTENZIONE: Si consiglia di ricostruire il Database per migliorare le prestazioni.</translation>
    </message>
    <message>
        <source>Operation not completed</source>
        <translation>Operazione non completata</translation>
    </message>
    <message>
        <source>Songs moved: %1. %2 songs could not be moved and stay in their folders; the playlists name them where they are.
</source>
        <translation>Basi spostate: %1. Non è stato possibile spostare %2 basi, che restano nelle loro cartelle; le playlist le indicano dove sono.
</translation>
    </message>
    <message>
        <source>Would move %1 songs into %2 new folders</source>
        <translation>Verrebbero spostate %1 basi in %2 nuove cartelle</translation>
    </message>
    <message>
        <source>Songs successfully divided</source>
        <translation>Basi divise correttamente</translation>
    </message>
    <message>
        <source>A split of the songs had been interrupted, but its journal on the Corvel3 cannot be read:
%1
Nothing has been changed; try again after reconnecting the Corvel3.</source>
        <translation>Una suddivisione delle basi si era interrotta, ma il suo registro sul Corvel3 non può essere letto:
%1
Nessun file è stato modificato; riprovare dopo aver ricollegato il Corvel3.</translation>
    </message>
    <message>
        <source>A split of the songs had been interrupted and not every playlist could be updated. Nothing else has been changed; the next optimization will try again.</source>
        <translation>Una suddivisione delle basi si era interrotta e non è stato possibile aggiornare tutte le playlist. Nient&apos;altro è stato modificato; la prossima ottimizzazione riproverà.</translation>
    </message>
    <message>
        <source>A split of the songs had been interrupted: the playlists have been completed for the %1 songs and folders already moved.</source>
        <translation>Una suddivisione delle basi si era interrotta: le playlist sono state completate per le %1 basi e cartelle già spostate.</translation>
    </message>
    <message>
        <source>%1 unfinished copies of playlists left by an interruption have been removed.</source>
        <translation>Sono state rimosse %1 copie incomplete di playlist lasciate da un&apos;interruzione.</translation>
    </message>
    <message>
        <source>WARNING</source>
        <translation>ATTENZIONE</translation>
    </message>
</context>
<context>
    <name>HealthPanel</name>
    <message>
        <source>Library health</source>
        <translation>Salute della libreria</translation>
    </message>
    <message>
        <source>Playlist lines that point at no song: %1</source>
        <translation>Righe di playlist senza base: %1</translation>
    </message>
    <message>
        <source>Names to change: %1</source>
        <translation>Nomi da cambiare: %1</translation>
    </message>
    <message>
        <source>Sets of duplicate songs: %1</source>
        <translation>Gruppi di basi doppie: %1</translation>
    </message>
    <message>
        <source>Fix...</source>
        <translation>Correggi...</translation>
    </message>
    <message>
        <source>Check again</source>
        <translation>Controlla di nuovo</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
</context>
<context>
    <name>JunkAndImages</name>
    <message>
        <source>Operation completed</source>
        <translation>Operazione completata</translation>
    </message>
    <message>
        <source>Operation completed</source>
        <comment>it: Operazione Completata</comment>
        <translation>Operazione Completata</translation>
    </message>
    <message>
        <source>No unsupported file found</source>
        <translation>Nessun file incompatibile trovato</translation>
    </message>
    <message>
        <source>Would delete %1 unsupported files</source>
        <translation>Verrebbero eliminati %1 file non supportati</translation>
    </message>
    <message>
        <source>All the unsupported files have been deleted</source>
        <translation>Tutti i file non supportati sono stati eliminati</translation>
    </message>
    <message>
        <source>Unsupported files deleted: %1 of %2. These could not be deleted:
</source>
        <translation>File non supportati eliminati: %1 su %2. Non è stato possibile eliminare:
</translation>
    </message>
    <message>
        <source>Shifting images...</source>
        <translation>Spostamento immagini...</translation>
    </message>
    <message>
        <source>No picture found</source>
        <translation>Nessuna immagine trovata</translation>
    </message>
    <message>
        <source>Would move %1 images into the folder &apos;&apos;Images&apos;&apos;</source>
        <translation>Verrebbero spostate %1 immagini nella cartella &apos;&apos;Images&apos;&apos;</translation>
    </message>
    <message>
        <source>All the images have been moved into the folder &apos;&apos;Images&apos;&apos;</source>
        <translation>Tutte le immagini sono state spostate nella cartella &apos;&apos;Images&apos;&apos;</translation>
    </message>
    <message>
        <source>Images moved into the folder &apos;&apos;Images&apos;&apos;: %1 of %2. These could not be moved:
</source>
        <translation>Immagini spostate nella cartella &apos;&apos;Images&apos;&apos;: %1 su %2. Non è stato possibile spostare:
</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Corvel3 Disk Formatter</source>
        <translation>Corvel3 Disk Formatter</translation>
    </message>
    <message>
        <source>ITA</source>
        <translation>ITA</translation>
    </message>
    <message>
        <source>ENG</source>
        <translation>ENG</translation>
    </message>
    <message>
        <source>Prova</source>
        <translation>Prova</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Release 2.1</source>
        <translation>Release 2.1</translation>
    </message>
    <message>
        <source>Standard operations: Corvel update and backup / restore of your musical files</source>
        <translation>Operazioni standard: per aggiornare il Corvel o salvare le basi musicali</translation>
    </message>
    <message>
        <source>CRITICAL operation: execute only if Corvel does not boot anymore</source>
        <translation>Operazioni CRITICHE: da eseguire solo nel caso in cui Corvel non esegue correttamente l&apos;avvio</translation>
    </message>
    <message>
        <source>UPDATE CORVEL WITH THE LAST RELEASE OF OPERATIVE SYSTEM</source>
        <translation>AGGIORNA IL CORVEL CON L&apos; ULTIMA RELEASE DISPONIBILE</translation>
    </message>
    <message>
        <source>SAVE A BACKUP COPY OF YOUR MUSICAL FILES AND PLAYLIST</source>
        <translation>CREA UNA COPIA DI SICUREZZA DELLE TUE BASI</translation>
    </message>
    <message>
        <source>RESTORE FROM A BACKUP COPY YOUR FILES AND PLAYLIST</source>
        <translation>RIPRISTINA LA COPIA DI SICUREZZA SUL CORVEL</translation>
    </message>
    <message>
        <source>REINSTALL OPERATIVE SYSTEM</source>
        <translation>REINSTALLA IL SISTEMA OPERATIVO</translation>
    </message>
    <message>
        <source>REINSTALL OPERATIVE SYSTEM AND DELETE ALL SONGS</source>
        <translation>REINSTALLA IL SISTEMA OPERATIVO E CANCELLA LE BASI</translation>
    </message>
    <message>
        <source>REINSTALL OPERATIVE SYSTEM AND RESTORE YOUR SONGS</source>
        <translation>REINSTALLA IL SISTEMA OPERATIVA E RIPRISTINA LE BASI</translation>
    </message>
    <message>
        <source>OPTIMIZE CORVEL</source>
        <translation>OTTIMIZZA CORVEL</translation>
    </message>
    <message>
        <source>Select the operations you want to start:</source>
        <translation>Seleziona le operazioni che desideri effettuare:</translation>
    </message>
    <message>
        <source>Full optimization</source>
        <translation>Ottimizzazione completa</translation>
    </message>
    <message>
        <source>Delete the unsupported files</source>
        <translation>Cancella i file non supportati</translation>
    </message>
    <message>
        <source>Shift the images</source>
        <translation>Sposta le immagini</translation>
    </message>
    <message>
        <source>Split the bases into folders</source>
        <translation>Suddividi le basi in cartelle</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Delete all unsupported files from Corvel3 memory. Supported extensions are: jpg,png,bmp,mp3,mid,kar,mf3,mf4,mf5
txt,cdg,dat,bak.</source>
        <translation>Cancella tutti i file non supportati, dalla memoria di Corvel3. I formati supportati sono: jpg,png,bmp,mp3,mid,kar,mf3,mf4,mf5,
txt,cdg,dat,bak.</translation>
    </message>
    <message>
        <source>Shift every images from Corvel3 memory into the folder &quot;Images&quot;.</source>
        <translation>Sposta le immagini presenti nella memoria di Corvel3 nella cartella &quot;Images&quot;.</translation>
    </message>
    <message>
        <source>The folders that contain more than 1000 songs will be split into folders sorted by the title of the songs and containing up to 1000 songs.</source>
        <translation>Le cartelle con più di 1000 basi verranno suddivise in più cartelle, ordinate secondo il titolo delle basi.</translation>
    </message>
    <message>
        <source>Operation Stopped</source>
        <translation>Operazione Interrotta</translation>
    </message>
    <message>
        <source>LIBRARY HEALTH</source>
        <translation>SALUTE DELLA LIBRERIA</translation>
    </message>
</context>
<context>
    <name>MainWindow_boot</name>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>Choose your language</source>
        <translation>Choose your language</translation>
    </message>
    <message>
        <source>Italiano</source>
        <translation>Italiano</translation>
    </message>
    <message>
        <source>Release 2.1</source>
        <translation>Release 2.1</translation>
    </message>
    <message>
        <source>Prova</source>
        <translation>Prova</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>CORVEL3 NOT CONNECTED</source>
        <translation>CORVEL3 NON COLLEGATO</translation>
    </message>
    <message>
        <source>Switch Off Corvel3 and connect it to USB PC Port (as shown below).
Then switch Corvel3 on again.</source>
        <translation>Spegnere Corvel3 e connetterlo alla porta USB del PC (come in figura).
Quindi, accendere nuovamente Corvel3.</translation>
    </message>
    <message>
        <source>Checking files integrity...</source>
        <translation>Controllo dell&apos;integrità dei file...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>OPERATION COMPLETED</source>
        <translation>OPERAZIONE COMPLETATA</translation>
    </message>
    <message>
        <source>SOFTWARE CONTROL COMPLETED</source>
        <translation>CONTROLLO SOFTWARE COMPLETATO</translation>
    </message>
    <message>
        <source>No problem detected during the control of the Operating System.
Click Ok to be redirected to the Main Window.</source>
        <translation>Neussun problema rilevato durante il controllo del sistema operativo.
Cliccare su Ok per accedere alla Schermata Principale.</translation>
    </message>
    <message>
        <source>RESTORING FILES OF THE OPERATING SYSTEM</source>
        <translation>RIPRISTINO DEI FILE DEL SISTEMA OPERATIVO</translation>
    </message>
    <message>
        <source>WARNING: DO NOT Switch off/Restart Corvel3 and DO NOT disconnect the USB cable.
The process may take a few minutes.</source>
        <translation>ATTENZIONE: NON Spegnere/Riavviare Corvel3 e NON scollegare il cavo USB.
L&apos;operazione potrebbe richiedere qualche minuto.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fatto</translation>
    </message>
    <message>
        <source>System successfully restored.
You will be redirected to the main window.</source>
        <translation>Sistema ripristinato correttamente.
Verrai reindirizzato alla schermata principale</translation>
    </message>
    <message>
        <source>Repair in progress</source>
        <translation>Ripristino in corso</translation>
    </message>
    <message>
        <source>Stop the repair of the operating system?
Corvel3 keeps the system it has now.</source>
        <translation>Interrompere il ripristino del sistema operativo?
Il sistema presente su Corvel3 resta quello di prima.</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Operation in progress</source>
        <translation>Operazione in corso</translation>
    </message>
    <message>
        <source>Another operation is running on the Corvel3.
Wait for it to end, then try again.</source>
        <translation>Un&apos;altra operazione è in corso sul Corvel3.
Attendere che finisca, poi riprovare.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fatto</translation>
    </message>
    <message>
        <source>Restore incomplete</source>
        <translation>Ripristino incompleto</translation>
    </message>
    <message>
        <source>%1 of %2 files were not restored to the Corvel3.
The log of operations is in:
%3</source>
        <translation>%1 files su %2 non sono stati ripristinati sul Corvel3.
L&apos;elenco delle operazioni è in:
%3</translation>
    </message>
    <message>
        <source>Backup incomplete</source>
        <translation>Backup incompleto</translation>
    </message>
    <message>
        <source>%1 of %2 files were not saved in the backup.
The log of operations is in:
%3</source>
        <translation>%1 files su %2 non sono stati salvati nella copia di backup.
L&apos;elenco delle operazioni è in:
%3</translation>
    </message>
    <message>
        <source>Optimisation incomplete</source>
        <translation>Ottimizzazione incompleta</translation>
    </message>
    <message>
        <source>%1 of %2 actions on the Corvel3&apos;s files failed.
The log of operations is in:
%3</source>
        <translation>%1 operazioni su %2 sui files del Corvel3 non sono riuscite.
L&apos;elenco delle operazioni è in:
%3</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <source>Choose a folder to save your files</source>
        <translation>Scegli una cartella per il salvataggio dei files</translation>
    </message>
    <message>
        <source>Choose a folder where save your files</source>
        <translation>Scegli una cartella per il salvataggio dei files</translation>
    </message>
    <message>
        <source>Choose a folder where to get your saved files</source>
        <translation>Scegli cartella da cui prendere i files salvati</translation>
    </message>
    <message>
        <source>%1 of %2 fixes failed:</source>
        <translation>%1 correzioni su %2 non sono riuscite:</translation>
    </message>
    <message>
        <source>Library check</source>
        <translation>Controllo della libreria</translation>
    </message>
    <message>
        <source>Choose the folder of the backups</source>
        <translation>Scegli la cartella delle copie di backup</translation>
    </message>
    <message>
        <source>Choose the backup to check</source>
        <translation>Scegli la copia di backup da controllare</translation>
    </message>
</context>
<context>
    <name>Reinstall</name>
    <message>
        <source>ERROR</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <source>The new operating system is installed on Corvel3.</source>
        <translation>Il nuovo sistema operativo è installato su Corvel3.</translation>
    </message>
    <message>
        <source>The operating system was not reinstalled: Corvel3 still has its previous one and starts.</source>
        <translation>Il sistema operativo non è stato reinstallato: Corvel3 ha ancora quello di prima e si avvia.</translation>
    </message>
    <message>
        <source>
The songs have been deleted.</source>
        <translation>
Le basi sono state cancellate.</translation>
    </message>
    <message>
        <source>
The songs are not on Corvel3, but they are safe in the backup folder:
%1
The Restore button brings them back to Corvel3.</source>
        <translation>
Le basi non sono sul Corvel3, ma sono al sicuro nella cartella di backup:
%1
Il pulsante Restore le riporta sul Corvel3.</translation>
    </message>
    <message>
        <source>Package not available</source>
        <translation>Pacchetto non disponibile</translation>
    </message>
    <message>
        <source>The server cannot be reached or sent a damaged package.
Use the system package saved on this PC on %1?</source>
        <translation>Il server non risponde o ha inviato un pacchetto danneggiato.
Usare il pacchetto del sistema salvato su questo PC il %1?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Si</translation>
    </message>
    <message>
        <source>missing: </source>
        <translation>mancante: </translation>
    </message>
    <message>
        <source>changed: </source>
        <translation>diverso: </translation>
    </message>
    <message>
        <source>list of saved files unreadable</source>
        <translation>elenco dei file salvati illeggibile</translation>
    </message>
    <message>
        <source>
... and %1 more</source>
        <translation>
... e altri %1</translation>
    </message>
    <message>
        <source>The operating system was not reinstalled: Corvel3 still has its previous one.
The songs have been restored.</source>
        <translation>Il sistema operativo non è stato reinstallato: Corvel3 ha ancora quello di prima.
Le basi sono state ripristinate.</translation>
    </message>
</context>
<context>
    <name>SpaceChart</name>
    <message>
        <source>Space per folder</source>
        <translation>Spazio per cartella</translation>
    </message>
    <message>
        <source>Space per kind</source>
        <translation>Spazio per tipo</translation>
    </message>
    <message>
        <source>%1 songs, %2</source>
        <translation>%1 basi, %2</translation>
    </message>
    <message>
        <source>(root)</source>
        <translation>(radice)</translation>
    </message>
    <message>
        <source>other folders</source>
        <translation>altre cartelle</translation>
    </message>
</context>
<context>
    <name>StagedInstall</name>
    <message>
        <source>Not enough space</source>
        <translation>Spazio insufficiente</translation>
    </message>
    <message>
        <source>There is not enough free space on Corvel3 to install the system.
%1 MB are needed, %2 MB are free.
The system on Corvel3 has not been changed.</source>
        <translation>Sul Corvel3 non c&apos;è abbastanza spazio libero per installare il sistema.
Servono %1 MB, liberi %2 MB.
Il sistema presente non è stato modificato.</translation>
    </message>
</context>
<context>
    <name>SwapRecovery</name>
    <message>
        <source>The last installation of the system on Corvel3 was cut short (the program closed, the PC switched off or Corvel3 unplugged).
</source>
        <translation>L&apos;ultima installazione del sistema sul Corvel3 si è interrotta prima della fine (programma chiuso, PC spento o Corvel3 scollegato).
</translation>
    </message>
    <message>
        <source>
If the installation was to save the songs and bring them back, they are in the backup folder chosen: the Restore button brings them back to Corvel3.</source>
        <translation>
Se l&apos;installazione doveva salvare e riportare le basi, sono nella cartella di backup scelta: il pulsante Restore le riporta sul Corvel3.</translation>
    </message>
    <message>
        <source>Installation completed</source>
        <translation>Installazione completata</translation>
    </message>
    <message>
        <source>It has now been completed: Corvel3 has the new system.</source>
        <translation>Ora è stata completata: il Corvel3 ha il nuovo sistema.</translation>
    </message>
    <message>
        <source>Installation undone</source>
        <translation>Installazione annullata</translation>
    </message>
    <message>
        <source>It has now been undone: Corvel3 has its previous system again.</source>
        <translation>Ora è stata annullata: il Corvel3 ha di nuovo il sistema di prima.</translation>
    </message>
    <message>
        <source>Recovery failed</source>
        <translation>Ripristino non riuscito</translation>
    </message>
    <message>
        <source>It could be neither completed nor undone: Corvel3 may be write-protected or damaged. No installation is possible until it is.
Reconnect Corvel3 and start the program again.
The log of operations is in:
%1</source>
        <translation>Non è stato possibile né completarla né annullarla: il Corvel3 potrebbe essere protetto da scrittura o danneggiato. Nessuna installazione è possibile finché non riesce.
Ricollegare il Corvel3 e riavviare il programma.
L&apos;elenco delle operazioni è in:
%1</translation>
    </message>
</context>
<context>
    <name>backup</name>
    <message>
        <source>ERROR</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <source>%1 files will be copied.
Do you want to continue ?</source>
        <translation>Saranno copiati %1 files
Vuoi continuare ?</translation>
    </message>
    <message>
        <source>The chosen folder cannot share files between backups (a FAT or exFAT drive, a network share):
every file is copied in full.</source>
        <translation>La cartella scelta non permette di condividere i files tra le copie di backup (un disco FAT o exFAT, una cartella di rete):
ogni file viene copiato per intero.</translation>
    </message>
</context>
<context>
    <name>backupdestination</name>
    <message>
        <source>The chosen folder is on the Corvel3 (or leads there through a link).
The backup must be saved on the PC: choose another folder.</source>
        <translation>La cartella scelta è sul Corvel3 (o vi porta attraverso un collegamento).
Il backup va salvato sul PC: scegli un&apos;altra cartella.</translation>
    </message>
    <message>
        <source>The chosen folder holds the Corvel3.
Choose another folder.</source>
        <translation>La cartella scelta contiene il Corvel3.
Scegli un&apos;altra cartella.</translation>
    </message>
    <message>
        <source>The chosen folder is the root of a drive.
Create or choose a folder inside it.</source>
        <translation>La cartella scelta è la radice di un disco.
Crea o scegli una cartella al suo interno.</translation>
    </message>
    <message>
        <source>The chosen folder is the system&apos;s root, your home folder or a folder above it.
Create or choose a folder inside it.</source>
        <translation>La cartella scelta è la radice del sistema, la cartella personale o una cartella che la contiene.
Crea o scegli una cartella al suo interno.</translation>
    </message>
    <message>
        <source>Unsuitable folder</source>
        <translation>Cartella non adatta</translation>
    </message>
</context>
<context>
    <name>backupset</name>
    <message>
        <source>Backups</source>
        <translation>Copie di backup</translation>
    </message>
    <message>
        <source>The folder holds no backups:</source>
        <translation>La cartella non contiene copie di backup:</translation>
    </message>
    <message>
        <source>%1 songs</source>
        <translation>%1 basi</translation>
    </message>
    <message>
        <source>complete</source>
        <translation>completa</translation>
    </message>
    <message>
        <source>incomplete</source>
        <translation>incompleta</translation>
    </message>
    <message>
        <source>all files there</source>
        <translation>file tutti presenti</translation>
    </message>
    <message>
        <source>files missing</source>
        <translation>file mancanti</translation>
    </message>
    <message>
        <source>new %1, shared %2</source>
        <translation>nuovi %1, condivisi %2</translation>
    </message>
    <message>
        <source>Reading the backups...</source>
        <translation>Lettura delle copie di backup...</translation>
    </message>
    <message>
        <source>Checking the backup...</source>
        <translation>Controllo della copia di backup...</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>illeggibile</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>mancante</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>danneggiato</translation>
    </message>
    <message>
        <source>incomplete backup</source>
        <translation>copia incompleta</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... e altri %1</translation>
    </message>
    <message>
        <source>Damaged backup</source>
        <translation>Copia di backup danneggiata</translation>
    </message>
    <message>
        <source>Some files of the backup are missing or damaged:</source>
        <translation>Alcuni files della copia di backup mancano o sono danneggiati:</translation>
    </message>
    <message>
        <source>Removing the older backups...</source>
        <translation>Eliminazione delle copie di backup più vecchie...</translation>
    </message>
    <message>
        <source>removed: </source>
        <translation>eliminata: </translation>
    </message>
    <message>
        <source>not removed</source>
        <translation>non eliminata</translation>
    </message>
    <message>
        <source>would remove: </source>
        <translation>verrebbe eliminata: </translation>
    </message>
</context>
<context>
    <name>cliformatter</name>
    <message>
        <source>would delete %1 file</source>
        <translation>verrebbe eliminato %1 file</translation>
    </message>
    <message>
        <source>would delete %1 files</source>
        <translation>verrebbero eliminati %1 file</translation>
    </message>
    <message>
        <source>would move %1 image into Images</source>
        <translation>verrebbe spostata %1 immagine in Images</translation>
    </message>
    <message>
        <source>would move %1 images into Images</source>
        <translation>verrebbero spostate %1 immagini in Images</translation>
    </message>
    <message>
        <source>would move %1 song</source>
        <translation>verrebbe spostata %1 base</translation>
    </message>
    <message>
        <source>would move %1 songs</source>
        <translation>verrebbero spostate %1 basi</translation>
    </message>
    <message>
        <source> into %1 folder</source>
        <translation> in %1 cartella</translation>
    </message>
    <message>
        <source> into %1 folders</source>
        <translation> in %1 cartelle</translation>
    </message>
    <message>
        <source>would rename %1 item</source>
        <translation>verrebbe rinominato %1 elemento</translation>
    </message>
    <message>
        <source>would rename %1 items</source>
        <translation>verrebbero rinominati %1 elementi</translation>
    </message>
    <message>
        <source>would rewrite %1 playlist</source>
        <translation>verrebbe riscritta %1 playlist</translation>
    </message>
    <message>
        <source>would rewrite %1 playlists</source>
        <translation>verrebbero riscritte %1 playlist</translation>
    </message>
    <message>
        <source>would change nothing</source>
        <translation>non verrebbe cambiato nulla</translation>
    </message>
    <message>
        <source>safe answer</source>
        <translation>risposta sicura</translation>
    </message>
    <message>
        <source>would %1</source>
        <translation>da %1:</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>eliminare</translation>
    </message>
    <message>
        <source>move</source>
        <translation>spostare</translation>
    </message>
    <message>
        <source>rename</source>
        <translation>rinominare</translation>
    </message>
    <message>
        <source>create</source>
        <translation>creare</translation>
    </message>
    <message>
        <source>rewrite</source>
        <translation>riscrivere</translation>
    </message>
    <message>
        <source>FAILED: </source>
        <translation>NON RIUSCITO: </translation>
    </message>
    <message>
        <source>Dry run: nothing on the player changed.</source>
        <translation>Prova: nulla è cambiato sul lettore.</translation>
    </message>
    <message>
        <source>Written into %1</source>
        <translation>Scritto in %1</translation>
    </message>
    <message>
        <source>: failed</source>
        <translation>: non riuscito</translation>
    </message>
    <message>
        <source>: declined</source>
        <translation>: annullato</translation>
    </message>
    <message>
        <source>: stopped</source>
        <translation>: interrotto</translation>
    </message>
    <message>
        <source>: player not found</source>
        <translation>: lettore non trovato</translation>
    </message>
    <message>
        <source>: problems left: %1</source>
        <translation>: problemi rimasti: %1</translation>
    </message>
    <message>
        <source>would remove %1 backup</source>
        <translation>verrebbe eliminata %1 copia di backup</translation>
    </message>
    <message>
        <source>would remove %1 backups</source>
        <translation>verrebbero eliminate %1 copie di backup</translation>
    </message>
    <message>
        <source>remove</source>
        <translation>eliminare</translation>
    </message>
    <message>
        <source>Dry run: nothing changed.</source>
        <translation>Prova: nulla è stato cambiato.</translation>
    </message>
</context>
<context>
    <name>clifrontend</name>
    <message>
        <source>Yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Sì a tutti</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Invio</translation>
    </message>
</context>
<context>
    <name>copyengine</name>
    <message>
        <source>ERROR</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <source>File Already Exists</source>
        <translation>File Esistente</translation>
    </message>
    <message>
        <source>File
</source>
        <translation>Il File
</translation>
    </message>
    <message>
        <source>
Already exists. Replace it? </source>
        <translation>
Esiste già. Vuoi sostituirlo? </translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Si</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Si,Tutti</translation>
    </message>
</context>
<context>
    <name>defrag</name>
    <message>
        <source>Defrag in progress...</source>
        <translation>Deframmentazione della memoria...</translation>
    </message>
</context>
<context>
    <name>healthcheck</name>
    <message>
        <source>Checking the library: listing the files...</source>
        <translation>Controllo della libreria: elenco dei file...</translation>
    </message>
    <message>
        <source>Checking the library: reading the songs...</source>
        <translation>Controllo della libreria: lettura delle basi...</translation>
    </message>
    <message>
        <source>%1 free, the system package takes %2</source>
        <translation>%1 liberi, il pacchetto di sistema ne occupa %2</translation>
    </message>
</context>
<context>
    <name>healthfix</name>
    <message>
        <source>Yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <source>These playlist songs are elsewhere on the Corvel3:
%1

Update the playlists to find them where they are now?</source>
        <translation>Queste basi delle playlist sono altrove sul Corvel3:
%1

Aggiornare le playlist perché le trovino dove sono ora?</translation>
    </message>
    <message>
        <source>playlists not updated</source>
        <translation>playlist non aggiornate</translation>
    </message>
    <message>
        <source>These playlist lines point at no song:
%1

Remove them from the playlists? (No song is touched; every line removed is written in the log of operations.)</source>
        <translation>Queste righe delle playlist non portano a nessuna base:
%1

Toglierle dalle playlist? (Le basi non vengono toccate; ogni riga tolta è annotata nell&apos;elenco delle operazioni.)</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>non leggibile</translation>
    </message>
    <message>
        <source>not rewritten</source>
        <translation>non riscritta</translation>
    </message>
    <message>
        <source>Duplicate songs</source>
        <translation>Basi doppie</translation>
    </message>
    <message>
        <source>The same song (%1) is in %2 places:
%3

Keep %4 and delete the other copies? Playlist lines naming them will name the one kept.</source>
        <translation>La stessa base (%1) è in %2 posti:
%3

Tenere %4 ed eliminare le altre copie? Le righe delle playlist che le nominano passeranno a quella tenuta.</translation>
    </message>
    <message>
        <source>Delete the copies</source>
        <translation>Elimina le copie</translation>
    </message>
    <message>
        <source>Keep them</source>
        <translation>Tienile</translation>
    </message>
    <message>
        <source>Keep all the rest</source>
        <translation>Tieni tutte le altre</translation>
    </message>
    <message>
        <source>not deleted</source>
        <translation>non eliminato</translation>
    </message>
    <message>
        <source>Names</source>
        <translation>Nomi</translation>
    </message>
    <message>
        <source>These names do not suit the Corvel3:
%1

Rename them? The playlists follow.</source>
        <translation>Questi nomi non vanno bene per il Corvel3:
%1

Rinominarli? Le playlist seguono.</translation>
    </message>
    <message>
        <source>journal not written</source>
        <translation>registro non scritto</translation>
    </message>
    <message>
        <source>not renamed</source>
        <translation>non rinominato</translation>
    </message>
</context>
<context>
    <name>healthreport</name>
    <message>
        <source>Playlist lines that point at no song</source>
        <translation>Righe di playlist senza base</translation>
    </message>
    <message>
        <source>Songs whose title cannot be read</source>
        <translation>Basi senza titolo leggibile</translation>
    </message>
    <message>
        <source>Damaged MP3s</source>
        <translation>MP3 danneggiati</translation>
    </message>
    <message>
        <source>Damaged MIDIs</source>
        <translation>MIDI danneggiati</translation>
    </message>
    <message>
        <source>Empty songs (0 bytes)</source>
        <translation>Basi vuote (0 byte)</translation>
    </message>
    <message>
        <source>Companion files without their song</source>
        <translation>File compagni senza la loro base</translation>
    </message>
    <message>
        <source>Names with characters FAT refuses</source>
        <translation>Nomi con caratteri che FAT rifiuta</translation>
    </message>
    <message>
        <source>Names too long</source>
        <translation>Nomi troppo lunghi</translation>
    </message>
    <message>
        <source>Names that differ only in case</source>
        <translation>Nomi uguali a parte maiuscole e minuscole</translation>
    </message>
    <message>
        <source>Folders with more than 1000 songs</source>
        <translation>Cartelle con più di 1000 basi</translation>
    </message>
    <message>
        <source>Duplicate songs</source>
        <translation>Basi doppie</translation>
    </message>
    <message>
        <source>Not enough free space for the system</source>
        <translation>Spazio libero insufficiente per il sistema</translation>
    </message>
    <message>
        <source>%1 songs checked (%2).</source>
        <translation>%1 basi controllate (%2).</translation>
    </message>
    <message>
        <source>Free space on the Corvel3: %1.</source>
        <translation>Spazio libero sul Corvel3: %1.</translation>
    </message>
    <message>
        <source>Check stopped: the picture is incomplete.</source>
        <translation>Controllo interrotto: il quadro è incompleto.</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>Nessun problema trovato.</translation>
    </message>
    <message>
        <source> - the optimisation splits them</source>
        <translation> - le divide l&apos;ottimizzazione</translation>
    </message>
</context>
<context>
    <name>libraryscan</name>
    <message>
        <source>WARNING</source>
        <translation>ATTENZIONE</translation>
    </message>
    <message>
        <source>WARNING: Scanning in progress.
This may take some time
Do NOT switch off and do NOT unplug Corvel</source>
        <translation>ATTENZIONE: Scansione delle cartelle in corso.
Questa operazione potrebbe richidere del tempo
NON spegnere e NON scollegare il Corvel</translation>
    </message>
    <message>
        <source>Scanning directories...</source>
        <translation>Scansione cartelle in corso...</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <source>Not every playlist could be updated for the songs whose too long names were shortened; the next optimization will complete the playlists.</source>
        <translation>Non è stato possibile aggiornare tutte le playlist per le basi con nomi troppo lunghi che sono state rinominate; alla prossima ottimizzazione le playlist verranno completate.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;corvel3-cli --help&apos;.</source>
        <translation>Vedi &apos;corvel3-cli --help&apos;.</translation>
    </message>
    <message>
        <source>Stopping at the next safe point (Ctrl-C again: quit at once)...</source>
        <translation>Arresto al prossimo punto sicuro (Ctrl-C di nuovo: uscita immediata)...</translation>
    </message>
</context>
<context>
    <name>mainwindow_about</name>
    <message>
        <source>About Corvel3</source>
        <translation>Informazioni su Corvel3</translation>
    </message>
    <message>
        <source>Corvel3 maintenance tool
Version %1
Licence: proprietary, all rights reserved.

The operation log (every file deleted, moved, renamed or replaced) is kept in:
%2</source>
        <translation>Corvel3 - strumento di manutenzione
Versione %1
Licenza: proprietaria, tutti i diritti riservati.

Il registro delle operazioni (ogni file cancellato, spostato, rinominato o sostituito) si trova in:
%2</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>Informazioni su Qt</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italiano</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Inglese</translation>
    </message>
</context>
<context>
    <name>messagetable</name>
    <message>
        <source>Format Corvel3 HD</source>
        <translation>Azzeramento HD Corvel3</translation>
    </message>
    <message>
        <source>WARNING!
All the contents of Corvel3 HD will be erased
Do you want to continue?</source>
        <translation>ATTENZIONE!
Ogni contenuto presente nell&apos; HD verrà cancellato!
Continuare?</translation>
    </message>
    <message>
        <source>Serching for Corvel3 USB Connection...</source>
        <translation>Cerco se Corvel3 è connesso via USB...</translation>
    </message>
    <message>
        <source>Downloading last release from V-Orla Website...</source>
        <translation>Scarico l&apos; ultima release dal sito V-Orla...</translation>
    </message>
    <message>
        <source>Copying update files...</source>
        <translation>Copia dei files dell&apos; aggiornamento...</translation>
    </message>
    <message>
        <source>Backup of files from Corvel to PC...</source>
        <translation>Copia di backup dei files sul PC...</translation>
    </message>
    <message>
        <source>Create an image of Corvel3 operative system...</source>
        <translation>Creazione della copia del sistema operativo...</translation>
    </message>
    <message>
        <source>Formatting Corvel3...</source>
        <translation>Sto formattando Corvel...</translation>
    </message>
    <message>
        <source>Transferring Corvel3 operative system...</source>
        <translation>Trasferimento del sistema operativo...</translation>
    </message>
    <message>
        <source>Restore backup copy on Corvel3...</source>
        <translation>Ripristino copia di backup sul Corvel...</translation>
    </message>
    <message>
        <source>Scanning Corvel3 internal storage...</source>
        <translation>Lettura del contenuto di Corvel...</translation>
    </message>
    <message>
        <source>System files are damaged or missing</source>
        <translation>File di sistema danneggiati o mancanti</translation>
    </message>
    <message>
        <source>WARNING : system files are damaged or missing , attempt recovery ?</source>
        <translation>ATTENZIONE: file di sistema danneggiati o mancanti, tentare il ripristino?</translation>
    </message>
    <message>
        <source>I can&apos;t find Corvel3 on USB port</source>
        <translation>Corvel3 non è stato trovato</translation>
    </message>
    <message>
        <source>Switch Off Corvel3 e connect to USB PC Port.
Then switch on Corvel3 and
when connection form is displyed on Corvel3 LCD,
press START again</source>
        <translation>Spegnere Corvel3 e connetterlo alla porta USB del PC.
Quindi accendere Corvel3 e
quando appare la schermata di connessione sul display di Corvel,
cliccare ancora su START</translation>
    </message>
    <message>
        <source>Format error</source>
        <translation>Errore di formattazione</translation>
    </message>
    <message>
        <source>There was an error during Corvel3 format.
Switch OFF Corvel3 and reconnect to PC USB port.
Then turn Corvel on again and
when connection splash screen appair on Corvel3 display ,
click START again</source>
        <translation>C&apos;è stato un errore durante la formattazione di Corvel3.
Spegnere Corvel3 e connetterlo alla porta USB del PC.
Quindi accendere Corvel3 e
quando appare la schermata di connessione sul display di Corvel,
cliccare ancora su START</translation>
    </message>
    <message>
        <source>Error while BackUp</source>
        <translation>Errore durante il BackUp</translation>
    </message>
    <message>
        <source>Error during songs&apos; backup.
Abort porcedure</source>
        <translation>C&apos;è stato durante il salvataggio delle basi.
Operazione annullata</translation>
    </message>
    <message>
        <source>Errore durante il Restore</source>
        <translation>Errore durante il Restore</translation>
    </message>
    <message>
        <source>C&apos;èstato durante il ripristino delle basi.
Operazione annullata</source>
        <translation>C&apos;è stato durante il ripristino delle basi.
Operazione annullata</translation>
    </message>
    <message>
        <source>End operation</source>
        <translation>Fine operazioni</translation>
    </message>
    <message>
        <source>Setup finished.
Switch off Corvel3 and unconnect from PC, then switch on Corvel3.
If during update phase on Corvel3 display it asks to reboot, switch off and switch on again
 until it shows the songs list again.</source>
        <translation>Installazione terminata.
Spegnere il Corvel e scollegare dal PC e riaccendere Corvel.
Se viene chiesto di riavviare, spegnere e accendere
finchè non appare la lista delle canzoni.</translation>
    </message>
    <message>
        <source>Download Error </source>
        <translation>Download Error </translation>
    </message>
    <message>
        <source>There was an error during update packet download
Please try later</source>
        <translation>C&apos;è stato un errore durante il download dell&apos; aggiornamento di Corvel
Riprovare più tardi</translation>
    </message>
    <message>
        <source>Update files downloaded.
Switch off Corvel3 and unconnect from PC, then switch on Corvel3.
If during update phase on Corvel3 display it asks to reboot, switch off and switch on again
 until it shows the songs list again.</source>
        <translation>Aggiornamento scaricato.
Spegnere il Corvel e scollegare dal PC e riaccendere Corvel.
Se viene chiesto di riavviare, spegnere e accendere
finchè non appare la lista delle canzoni.</translation>
    </message>
</context>
<context>
    <name>optimiserun</name>
    <message>
        <source>ERROR</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <source>The Corvel3&apos;s disk is read-only or cannot be written: no file has been changed.
Check the Corvel3&apos;s connection and try again.</source>
        <translation>Il disco del Corvel3 è di sola lettura o non può essere scritto: nessun file è stato modificato.
Controllare il collegamento del Corvel3 e riprovare.</translation>
    </message>
</context>
<context>
    <name>restore</name>
    <message>
        <source>Backup cannot be checked</source>
        <translation>Copia di backup non verificabile</translation>
    </message>
    <message>
        <source>This backup has no list of the saved files (an earlier version of the program made it): it cannot be checked.
Do you want to restore it anyway ?</source>
        <translation>Questa copia di backup non ha l&apos;elenco dei files salvati (è stata fatta con una versione precedente del programma): non si può controllare che sia integra.
Vuoi ripristinarla comunque ?</translation>
    </message>
    <message>
        <source>missing: </source>
        <translation>mancante: </translation>
    </message>
    <message>
        <source>changed: </source>
        <translation>cambiato: </translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... e altri %1</translation>
    </message>
    <message>
        <source>Damaged backup</source>
        <translation>Copia di backup danneggiata</translation>
    </message>
    <message>
        <source>The list of files of this backup cannot be read.
Restore cancelled: nothing was written to the Corvel3.</source>
        <translation>L&apos;elenco dei files di questa copia di backup non si può leggere.
Ripristino annullato: nulla è stato scritto sul Corvel3.</translation>
    </message>
    <message>
        <source>Some files of the backup are missing or have changed since it was made.
Restore cancelled: nothing was written to the Corvel3.

</source>
        <translation>Alcuni files della copia di backup mancano o sono cambiati dopo il salvataggio.
Ripristino annullato: nulla è stato scritto sul Corvel3.

</translation>
    </message>
    <message>
        <source>The chosen folder holds %1 backups.
The newest one will be restored:
%2
Do you want to continue ?</source>
        <translation>La cartella scelta contiene %1 copie di backup.
Verrà ripristinata la più recente:
%2
Vuoi continuare ?</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Copie di backup</translation>
    </message>
    <message>
        <source>Choose the backup to restore:</source>
        <translation>Scegli la copia di backup da ripristinare:</translation>
    </message>
    <message>
        <source>What to restore</source>
        <translation>Cosa ripristinare</translation>
    </message>
    <message>
        <source>Choose the folders, songs and playlists to copy back onto the Corvel3.</source>
        <translation>Scegli le cartelle, le basi e le playlist da ricopiare sul Corvel3.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Part not found</source>
        <translation>Parte non trovata</translation>
    </message>
    <message>
        <source>The backup holds no:
%1
Restore cancelled: nothing was written to the Corvel3.</source>
        <translation>Nella copia di backup non c&apos;è:
%1
Ripristino annullato: nulla è stato scritto sul Corvel3.</translation>
    </message>
</context>
</TS>
