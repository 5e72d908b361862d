<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="en_GB">
<context>
    <name>CliCommand</name>
    <message>
        <source>check the player&apos;s system files</source>
        <translation>check the player&apos;s system files</translation>
    </message>
    <message>
        <source>Checks that the player&apos;s system files are there (the start file and the two system
programs); changes nothing.
Exit 0: all there; 1: one is missing (&quot;reinstall&quot; puts it back); 3: no player.</source>
        <translation>Checks that the player&apos;s system files are there (the start file and the two system
programs); changes nothing.
Exit 0: all there; 1: one is missing (&quot;reinstall&quot; puts it back); 3: no player.</translation>
    </message>
    <message>
        <source>SOFTWARE CONTROL COMPLETED</source>
        <translation>SOFTWARE CONTROL COMPLETED</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>put the latest system update onto the player</source>
        <translation>put the latest system update onto the player</translation>
    </message>
    <message>
        <source>Downloads the system update, unpacks and checks it, and copies it onto the player, which
installs it at its next start. The copy is prepared aside and then put in place whole: a
failure leaves the player&apos;s update folder as it was.</source>
        <translation>Downloads the system update, unpacks and checks it, and copies it onto the player, which
installs it at its next start. The copy is prepared aside and then put in place whole: a
failure leaves the player&apos;s update folder as it was.</translation>
    </message>
    <message>
        <source>save the songs and playlists into a new dated folder inside FOLDER</source>
        <translation>save the songs and playlists into a new dated folder inside FOLDER</translation>
    </message>
    <message>
        <source>Saves the songs and the playlists into a new folder &quot;Corvel3 backup YYYY-MM-DD HHMM&quot;
inside FOLDER, with a manifest of every saved file (size and SHA-256), and checks every
copy. Nothing in FOLDER is deleted or replaced. FOLDER must exist; a folder on the
player, the root of a drive or of the system and the home folder are refused.
Exit 0 only when every file was saved and checked.</source>
        <translation>Saves the songs and the playlists into a new folder &quot;Corvel3 backup YYYY-MM-DD HHMM&quot;
inside FOLDER, with a manifest of every saved file (size and SHA-256), and checks every
copy. Nothing in FOLDER is deleted or replaced. FOLDER must exist; a folder on the
player, the root of a drive or of the system and the home folder are refused.
Exit 0 only when every file was saved and checked.</translation>
    </message>
    <message>
        <source>copy a backup back onto the player</source>
        <translation>copy a backup back onto the player</translation>
    </message>
    <message>
        <source>Copies a backup back onto the player. FOLDER is a backup (&quot;Corvel3 backup ...&quot;) or the
folder that holds dated backups: then the newest complete one is restored, after a
question. Before anything is written, every file to be restored is checked against the
backup&apos;s manifest: when one is missing or changed nothing is written and the files are
named. Nothing on the player is deleted; a different file already there is replaced only
after a question (one an interrupted restore left cut short, at once).</source>
        <translation>Copies a backup back onto the player. FOLDER is a backup (&quot;Corvel3 backup ...&quot;) or the
folder that holds dated backups: then the newest complete one is restored, after a
question. Before anything is written, every file to be restored is checked against the
backup&apos;s manifest: when one is missing or changed nothing is written and the files are
named. Nothing on the player is deleted; a different file already there is replaced only
after a question (one an interrupted restore left cut short, at once).</translation>
    </message>
    <message>
        <source>reinstall the player&apos;s system</source>
        <translation>reinstall the player&apos;s system</translation>
    </message>
    <message>
        <source>Downloads the full system, checks it, prepares it on the player and puts it in place of
the old one, then installs the latest update; a failure before the swap leaves the old
system. Without an option the songs stay where they are.</source>
        <translation>Downloads the full system, checks it, prepares it on the player and puts it in place of
the old one, then installs the latest update; a failure before the swap leaves the old
system. Without an option the songs stay where they are.</translation>
    </message>
    <message>
        <source>save the songs into FOLDER (into a new dated folder when it is not empty),
check them, erase the player, reinstall and copy them back; FOLDER stays</source>
        <translation>save the songs into FOLDER (into a new dated folder when it is not empty),
check them, erase the player, reinstall and copy them back; FOLDER stays</translation>
    </message>
    <message>
        <source>erase every song, after a question</source>
        <translation>erase every song, after a question</translation>
    </message>
    <message>
        <source>--erase and --restore exclude each other</source>
        <translation>--erase and --restore exclude each other</translation>
    </message>
    <message>
        <source>--restore needs FOLDER</source>
        <translation>--restore needs FOLDER</translation>
    </message>
    <message>
        <source>optimise the song library</source>
        <translation>optimise the song library</translation>
    </message>
    <message>
        <source>Optimises the song library; with no step given, all three. The split ends with the
defragmentation. With --dry-run nothing changes: every action the real optimisation
would take is listed, and a summary at the end says what it would do.</source>
        <translation>Optimises the song library; with no step given, all three. The split ends with the
defragmentation. With --dry-run nothing changes: every action the real optimisation
would take is listed, and a summary at the end says what it would do.</translation>
    </message>
    <message>
        <source>delete the files the player cannot use</source>
        <translation>delete the files the player cannot use</translation>
    </message>
    <message>
        <source>move the images into the folder &quot;Images&quot;</source>
        <translation>move the images into the folder &quot;Images&quot;</translation>
    </message>
    <message>
        <source>split folders of more than 1000 songs by title (playlists follow)</source>
        <translation>split folders of more than 1000 songs by title (playlists follow)</translation>
    </message>
    <message>
        <source>list what would be done and change nothing</source>
        <translation>list what would be done and change nothing</translation>
    </message>
    <message>
        <source>the language of the messages (else: Corvel.ini, then LC_ALL, LC_MESSAGES, LANG)</source>
        <translation>the language of the messages (else: Corvel.ini, then LC_ALL, LC_MESSAGES, LANG)</translation>
    </message>
    <message>
        <source>answer every question with the answer that lets the operation go on</source>
        <translation>answer every question with the answer that lets the operation go on</translation>
    </message>
    <message>
        <source>one JSON object per event on stdout, one a line</source>
        <translation>one JSON object per event on stdout, one a line</translation>
    </message>
    <message>
        <source>this help; COMMAND --help: the command&apos;s</source>
        <translation>this help; COMMAND --help: the command&apos;s</translation>
    </message>
    <message>
        <source>the version</source>
        <translation>the version</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 needs %2</source>
        <translation>%1 needs %2</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>no folder &apos;%1&apos;</source>
        <translation>no folder &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--lang takes it or en</source>
        <translation>--lang takes it or en</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Usage: corvel3-cli [OPTIONS] COMMAND [ARGUMENTS]

</source>
        <translation>Usage: corvel3-cli [OPTIONS] COMMAND [ARGUMENTS]

</translation>
    </message>
    <message>
        <source>Looks after a Corvel3 player plugged in by USB, whose drive is found among the mounted
volumes by its label &quot;corvel3&quot;. Each command does what the same button of the window does.

Commands:
</source>
        <translation>Looks after a Corvel3 player plugged in by USB, whose drive is found among the mounted
volumes by its label &quot;corvel3&quot;. Each command does what the same button of the window does.

Commands:
</translation>
    </message>
    <message>
        <source>
Options (before or after the command):
</source>
        <translation>
Options (before or after the command):
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
Questions are asked on the terminal; without one each takes its safe answer (no deletion,
no overwrite, stop after an error), with --yes the one that lets the operation go on.
Ctrl-C stops the operation at its next safe point; a second Ctrl-C ends the program at
once. Progress goes to stderr. Every file deleted, moved or replaced is logged in
%1.

Exit codes: 0 done, 1 failed, declined or stopped, 2 usage error, 3 player not found,
130 stopped by Ctrl-C.
Environment: CORVEL3_VOLUMES, CORVEL3_UPDATE_SERVER, CORVEL3_UNPACKER (see the README).
&apos;corvel3-cli COMMAND --help&apos; describes a command.
</translation>
    </message>
    <message>
        <source>Usage: corvel3-cli [OPTIONS] %1

</source>
        <translation>Usage: corvel3-cli [OPTIONS] %1

</translation>
    </message>
    <message>
        <source>
Options of %1:
</source>
        <translation>
Options of %1:
</translation>
    </message>
    <message>
        <source>
Common options: --lang it|en, --yes, --json, --help (&apos;corvel3-cli --help&apos;).
</source>
        <translation>
Common options: --lang it|en, --yes, --json, --help (&apos;corvel3-cli --help&apos;).
</translation>
    </message>
    <message>
        <source>check the library against the player&apos;s rules</source>
        <translation>check the library against the player&apos;s rules</translation>
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
        <translation>Checks the library: playlist lines that point at no song (and where the song is now),
unreadable or damaged songs (MP3, MIDI, empty), companion files without their song, names
FAT cannot store or the player cannot show, folders of more than 1000 songs, duplicate songs,
free space for the system.
With --fix it offers, group by group and after a question, only safe fixes: re-point lines
whose song is elsewhere, remove dead lines, rename names (the playlists follow), delete
duplicate copies (a choice per set of copies). Without a terminal every question takes its
safe answer and nothing changes; --yes takes the fixes but never deletes a copy, which needs
a yes typed on the terminal. With --dry-run nothing changes and nothing is asked: every fix
is listed.
Exit 0: no problems; 1: problems left; 3: no player.</translation>
    </message>
    <message>
        <source>offer the safe fixes, each after a question</source>
        <translation>offer the safe fixes, each after a question</translation>
    </message>
    <message>
        <source>list the fixes and change nothing</source>
        <translation>list the fixes and change nothing</translation>
    </message>
    <message>
        <source>list the backups in FOLDER</source>
        <translation>list the backups in FOLDER</translation>
    </message>
    <message>
        <source>Lists the backups in FOLDER (or FOLDER itself when it is one), newest first: date, name,
songs, size, complete or not, whether every file is there with its size, and the bytes new
and shared with other backups. No player needed. Exit 1 when FOLDER holds none.</source>
        <translation>Lists the backups in FOLDER (or FOLDER itself when it is one), newest first: date, name,
songs, size, complete or not, whether every file is there with its size, and the bytes new
and shared with other backups. No player needed. Exit 1 when FOLDER holds none.</translation>
    </message>
    <message>
        <source>check a backup against its manifest</source>
        <translation>check a backup against its manifest</translation>
    </message>
    <message>
        <source>Checks a backup against its manifest without restoring it: every file there with its
size; with --read-data every byte too (SHA-256). FOLDER is a backup or the folder that holds
them: then the newest complete one. No player needed.
Exit 0: all whole; 1: files missing or damaged (named), or an incomplete backup.</source>
        <translation>Checks a backup against its manifest without restoring it: every file there with its
size; with --read-data every byte too (SHA-256). FOLDER is a backup or the folder that holds
them: then the newest complete one. No player needed.
Exit 0: all whole; 1: files missing or damaged (named), or an incomplete backup.</translation>
    </message>
    <message>
        <source>read and check every byte</source>
        <translation>read and check every byte</translation>
    </message>
    <message>
        <source>remove the backups older than the N newest complete ones</source>
        <translation>remove the backups older than the N newest complete ones</translation>
    </message>
    <message>
        <source>Removes from FOLDER the backups older than its N newest complete ones; the newest complete
one always stays, newer backups (incomplete ones too) stay, a backup that is a link is left
alone. A song shared with a backup that stays remains in it. Every file removed is logged.
With --dry-run it lists the backups it would remove. No player needed.</source>
        <translation>Removes from FOLDER the backups older than its N newest complete ones; the newest complete
one always stays, newer backups (incomplete ones too) stay, a backup that is a link is left
alone. A song shared with a backup that stays remains in it. Every file removed is logged.
With --dry-run it lists the backups it would remove. No player needed.</translation>
    </message>
    <message>
        <source>how many complete backups to keep (at least 1)</source>
        <translation>how many complete backups to keep (at least 1)</translation>
    </message>
    <message>
        <source>list what would be removed and change nothing</source>
        <translation>list what would be removed and change nothing</translation>
    </message>
    <message>
        <source>prune needs --keep N</source>
        <translation>prune needs --keep N</translation>
    </message>
    <message>
        <source>--keep takes a number from 1 up</source>
        <translation>--keep takes a number from 1 up</translation>
    </message>
    <message>
        <source>restore PATH only (relative to the player&apos;s root, as in the backup: a folder
with everything below it, a file alone); several may follow. Only those are
checked and written</source>
        <translation>restore PATH only (relative to the player&apos;s root, as in the backup: a folder
with everything below it, a file alone); several may follow. Only those are
checked and written</translation>
    </message>
    <message>
        <source>--only: &apos;%1&apos; is not in the backup</source>
        <translation>--only: &apos;%1&apos; is not in the backup</translation>
    </message>
</context>
<context>
    <name>FolderSplit</name>
    <message>
        <source>Loading resources...</source>
        <translation>Loading resources...</translation>
    </message>
    <message>
        <source>Operation completed</source>
        <translation>Operation completed</translation>
    </message>
    <message>
        <source>Operation completed</source>
        <comment>it: Operazione Completata</comment>
        <translation>Operation completed</translation>
    </message>
    <message>
        <source>All folders are already optimized, no operation needed</source>
        <translation>All folders are already optimized, no operation needed</translation>
    </message>
    <message>
        <source>Folders with too many files found</source>
        <translation>Folders with too many files found</translation>
    </message>
    <message>
        <source>The following folders contain more than 1000 bases and will be divided into folders with no more than 1000 bases for each:
</source>
        <translation>The following folders contain more than 1000 bases and will be divided into folders with no more than 1000 bases for each:
</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>Cannot write the split journal in </source>
        <translation>Cannot write the split journal in </translation>
    </message>
    <message>
        <source>
No song has been moved.</source>
        <translation>
No song has been moved.</translation>
    </message>
    <message>
        <source>Optimizing folders </source>
        <translation>Optimizing folders </translation>
    </message>
    <message>
        <source>Not every playlist could be updated. The split has been interrupted; the next optimization will complete the playlists.</source>
        <translation>Not every playlist could be updated. The split has been interrupted; the next optimization will complete the playlists.</translation>
    </message>
    <message>
        <source>WARNING: It is recommended to rebuild your Database to improve performance</source>
        <translation>WARNING: It is recommended to rebuild your Database to improve performance</translation>
    </message>
    <message>
        <source>Operation not completed</source>
        <translation>Operation not completed</translation>
    </message>
    <message>
        <source>Songs moved: %1. %2 songs could not be moved and stay in their folders; the playlists name them where they are.
</source>
        <translation>Songs moved: %1. %2 songs could not be moved and stay in their folders; the playlists name them where they are.
</translation>
    </message>
    <message>
        <source>Would move %1 songs into %2 new folders</source>
        <translation>Would move %1 songs into %2 new folders</translation>
    </message>
    <message>
        <source>Songs successfully divided</source>
        <translation>Songs successfully divided</translation>
    </message>
    <message>
        <source>A split of the songs had been interrupted, but its journal on the Corvel3 cannot be read:
%1
Nothing has been changed; try again after reconnecting the Corvel3.</source>
        <translation>A split of the songs had been interrupted, but its journal on the Corvel3 cannot be read:
%1
Nothing has been changed; try again after reconnecting the Corvel3.</translation>
    </message>
    <message>
        <source>A split of the songs had been interrupted and not every playlist could be updated. Nothing else has been changed; the next optimization will try again.</source>
        <translation>A split of the songs had been interrupted and not every playlist could be updated. Nothing else has been changed; the next optimization will try again.</translation>
    </message>
    <message>
        <source>A split of the songs had been interrupted: the playlists have been completed for the %1 songs and folders already moved.</source>
        <translation>A split of the songs had been interrupted: the playlists have been completed for the %1 songs and folders already moved.</translation>
    </message>
    <message>
        <source>%1 unfinished copies of playlists left by an interruption have been removed.</source>
        <translation>%1 unfinished copies of playlists left by an interruption have been removed.</translation>
    </message>
    <message>
        <source>WARNING</source>
        <translation>WARNING</translation>
    </message>
</context>
<context>
    <name>HealthPanel</name>
    <message>
        <source>Library health</source>
        <translation>Library health</translation>
    </message>
    <message>
        <source>Playlist lines that point at no song: %1</source>
        <translation>Playlist lines that point at no song: %1</translation>
    </message>
    <message>
        <source>Names to change: %1</source>
        <translation>Names to change: %1</translation>
    </message>
    <message>
        <source>Sets of duplicate songs: %1</source>
        <translation>Sets of duplicate songs: %1</translation>
    </message>
    <message>
        <source>Fix...</source>
        <translation>Fix...</translation>
    </message>
    <message>
        <source>Check again</source>
        <translation>Check again</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>JunkAndImages</name>
    <message>
        <source>Operation completed</source>
        <translation>Operation completed</translation>
    </message>
    <message>
        <source>Operation completed</source>
        <comment>it: Operazione Completata</comment>
        <translation>Operation completed</translation>
    </message>
    <message>
        <source>No unsupported file found</source>
        <translation>No unsupported file found</translation>
    </message>
    <message>
        <source>Would delete %1 unsupported files</source>
        <translation>Would delete %1 unsupported files</translation>
    </message>
    <message>
        <source>All the unsupported files have been deleted</source>
        <translation>All the unsupported files have been deleted</translation>
    </message>
    <message>
        <source>Unsupported files deleted: %1 of %2. These could not be deleted:
</source>
        <translation>Unsupported files deleted: %1 of %2. These could not be deleted:
</translation>
    </message>
    <message>
        <source>Shifting images...</source>
        <translation>Shifting images...</translation>
    </message>
    <message>
        <source>No picture found</source>
        <translation>No picture found</translation>
    </message>
    <message>
        <source>Would move %1 images into the folder &apos;&apos;Images&apos;&apos;</source>
        <translation>Would move %1 images into the folder &apos;&apos;Images&apos;&apos;</translation>
    </message>
    <message>
        <source>All the images have been moved into the folder &apos;&apos;Images&apos;&apos;</source>
        <translation>All the images have been moved into the folder &apos;&apos;Images&apos;&apos;</translation>
    </message>
    <message>
        <source>Images moved into the folder &apos;&apos;Images&apos;&apos;: %1 of %2. These could not be moved:
</source>
        <translation>Images moved into the folder &apos;&apos;Images&apos;&apos;: %1 of %2. These could not be moved:
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
        <translation>Standard operations: Corvel update and backup / restore of your musical files</translation>
    </message>
    <message>
        <source>CRITICAL operation: execute only if Corvel does not boot anymore</source>
        <translation>CRITICAL operation: execute only if Corvel does not boot anymore</translation>
    </message>
    <message>
        <source>UPDATE CORVEL WITH THE LAST RELEASE OF OPERATIVE SYSTEM</source>
        <translation>UPDATE CORVEL WITH THE LAST RELEASE OF OPERATIVE SYSTEM</translation>
    </message>
    <message>
        <source>SAVE A BACKUP COPY OF YOUR MUSICAL FILES AND PLAYLIST</source>
        <translation>SAVE A BACKUP COPY OF YOUR MUSICAL FILES AND PLAYLIST</translation>
    </message>
    <message>
        <source>RESTORE FROM A BACKUP COPY YOUR FILES AND PLAYLIST</source>
        <translation>RESTORE FROM A BACKUP COPY YOUR FILES AND PLAYLIST</translation>
    </message>
    <message>
        <source>REINSTALL OPERATIVE SYSTEM</source>
        <translation>REINSTALL OPERATIVE SYSTEM</translation>
    </message>
    <message>
        <source>REINSTALL OPERATIVE SYSTEM AND DELETE ALL SONGS</source>
        <translation>REINSTALL OPERATIVE SYSTEM AND DELETE ALL SONGS</translation>
    </message>
    <message>
        <source>REINSTALL OPERATIVE SYSTEM AND RESTORE YOUR SONGS</source>
        <translation>REINSTALL OPERATIVE SYSTEM AND RESTORE YOUR SONGS</translation>
    </message>
    <message>
        <source>OPTIMIZE CORVEL</source>
        <translation>OPTIMIZE CORVEL</translation>
    </message>
    <message>
        <source>Select the operations you want to start:</source>
        <translation>Select the operations you want to start:</translation>
    </message>
    <message>
        <source>Full optimization</source>
        <translation>Full optimization</translation>
    </message>
    <message>
        <source>Delete the unsupported files</source>
        <translation>Delete the unsupported files</translation>
    </message>
    <message>
        <source>Shift the images</source>
        <translation>Shift the images</translation>
    </message>
    <message>
        <source>Split the bases into folders</source>
        <translation>Split the bases into folders</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Delete all unsupported files from Corvel3 memory. Supported extensions are: jpg,png,bmp,mp3,mid,kar,mf3,mf4,mf5
txt,cdg,dat,bak.</source>
        <translation>Delete all unsupported files from Corvel3 memory. Supported extensions are: jpg,png,bmp,mp3,mid,kar,mf3,mf4,mf5
txt,cdg,dat,bak.</translation>
    </message>
    <message>
        <source>Shift every images from Corvel3 memory into the folder &quot;Images&quot;.</source>
        <translation>Shift every images from Corvel3 memory into the folder &quot;Images&quot;.</translation>
    </message>
    <message>
        <source>The folders that contain more than 1000 songs will be split into folders sorted by the title of the songs and containing up to 1000 songs.</source>
        <translation>The folders that contain more than 1000 songs will be split into folders sorted by the title of the songs and containing up to 1000 songs.</translation>
    </message>
    <message>
        <source>Operation Stopped</source>
        <translation>Operation Stopped</translation>
    </message>
    <message>
        <source>LIBRARY HEALTH</source>
        <translation>LIBRARY HEALTH</translation>
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
        <translation>CORVEL3 NOT CONNECTED</translation>
    </message>
    <message>
        <source>Switch Off Corvel3 and connect it to USB PC Port (as shown below).
Then switch Corvel3 on again.</source>
        <translation>Switch Off Corvel3 and connect it to USB PC Port (as shown below).
Then switch Corvel3 on again.</translation>
    </message>
    <message>
        <source>Checking files integrity...</source>
        <translation>Checking files integrity...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>OPERATION COMPLETED</source>
        <translation>OPERATION COMPLETED</translation>
    </message>
    <message>
        <source>SOFTWARE CONTROL COMPLETED</source>
        <translation>SOFTWARE CONTROL COMPLETED</translation>
    </message>
    <message>
        <source>No problem detected during the control of the Operating System.
Click Ok to be redirected to the Main Window.</source>
        <translation>No problem detected during the control of the Operating System.
Click Ok to be redirected to the Main Window.</translation>
    </message>
    <message>
        <source>RESTORING FILES OF THE OPERATING SYSTEM</source>
        <translation>RESTORING FILES OF THE OPERATING SYSTEM</translation>
    </message>
    <message>
        <source>WARNING: DO NOT Switch off/Restart Corvel3 and DO NOT disconnect the USB cable.
The process may take a few minutes.</source>
        <translation>WARNING: DO NOT Switch off/Restart Corvel3 and DO NOT disconnect the USB cable.
The process may take a few minutes.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>System successfully restored.
You will be redirected to the main window.</source>
        <translation>System successfully restored.
You will be redirected to the main window.</translation>
    </message>
    <message>
        <source>Repair in progress</source>
        <translation>Repair in progress</translation>
    </message>
    <message>
        <source>Stop the repair of the operating system?
Corvel3 keeps the system it has now.</source>
        <translation>Stop the repair of the operating system?
Corvel3 keeps the system it has now.</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Operation in progress</source>
        <translation>Operation in progress</translation>
    </message>
    <message>
        <source>Another operation is running on the Corvel3.
Wait for it to end, then try again.</source>
        <translation>Another operation is running on the Corvel3.
Wait for it to end, then try again.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Restore incomplete</source>
        <translation>Restore incomplete</translation>
    </message>
    <message>
        <source>%1 of %2 files were not restored to the Corvel3.
The log of operations is in:
%3</source>
        <translation>%1 of %2 files were not restored to the Corvel3.
The log of operations is in:
%3</translation>
    </message>
    <message>
        <source>Backup incomplete</source>
        <translation>Backup incomplete</translation>
    </message>
    <message>
        <source>%1 of %2 files were not saved in the backup.
The log of operations is in:
%3</source>
        <translation>%1 of %2 files were not saved in the backup.
The log of operations is in:
%3</translation>
    </message>
    <message>
        <source>Optimisation incomplete</source>
        <translation>Optimisation incomplete</translation>
    </message>
    <message>
        <source>%1 of %2 actions on the Corvel3&apos;s files failed.
The log of operations is in:
%3</source>
        <translation>%1 of %2 actions on the Corvel3&apos;s files failed.
The log of operations is in:
%3</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>Choose a folder to save your files</source>
        <translation>Choose a folder to save your files</translation>
    </message>
    <message>
        <source>Choose a folder where save your files</source>
        <translation>Choose a folder where save your files</translation>
    </message>
    <message>
        <source>Choose a folder where to get your saved files</source>
        <translation>Choose a folder where to get your saved files</translation>
    </message>
    <message>
        <source>%1 of %2 fixes failed:</source>
        <translation>%1 of %2 fixes failed:</translation>
    </message>
    <message>
        <source>Library check</source>
        <translation>Library check</translation>
    </message>
    <message>
        <source>Choose the folder of the backups</source>
        <translation>Choose the folder of the backups</translation>
    </message>
    <message>
        <source>Choose the backup to check</source>
        <translation>Choose the backup to check</translation>
    </message>
</context>
<context>
    <name>Reinstall</name>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>The new operating system is installed on Corvel3.</source>
        <translation>The new operating system is installed on Corvel3.</translation>
    </message>
    <message>
        <source>The operating system was not reinstalled: Corvel3 still has its previous one and starts.</source>
        <translation>The operating system was not reinstalled: Corvel3 still has its previous one and starts.</translation>
    </message>
    <message>
        <source>
The songs have been deleted.</source>
        <translation>
The songs have been deleted.</translation>
    </message>
    <message>
        <source>
The songs are not on Corvel3, but they are safe in the backup folder:
%1
The Restore button brings them back to Corvel3.</source>
        <translation>
The songs are not on Corvel3, but they are safe in the backup folder:
%1
The Restore button brings them back to Corvel3.</translation>
    </message>
    <message>
        <source>Package not available</source>
        <translation>Package not available</translation>
    </message>
    <message>
        <source>The server cannot be reached or sent a damaged package.
Use the system package saved on this PC on %1?</source>
        <translation>The server cannot be reached or sent a damaged package.
Use the system package saved on this PC on %1?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>missing: </source>
        <translation>missing: </translation>
    </message>
    <message>
        <source>changed: </source>
        <translation>changed: </translation>
    </message>
    <message>
        <source>list of saved files unreadable</source>
        <translation>list of saved files unreadable</translation>
    </message>
    <message>
        <source>
... and %1 more</source>
        <translation>
... and %1 more</translation>
    </message>
    <message>
        <source>The operating system was not reinstalled: Corvel3 still has its previous one.
The songs have been restored.</source>
        <translation>The operating system was not reinstalled: Corvel3 still has its previous one.
The songs have been restored.</translation>
    </message>
</context>
<context>
    <name>SpaceChart</name>
    <message>
        <source>Space per folder</source>
        <translation>Space per folder</translation>
    </message>
    <message>
        <source>Space per kind</source>
        <translation>Space per kind</translation>
    </message>
    <message>
        <source>%1 songs, %2</source>
        <translation>%1 songs, %2</translation>
    </message>
    <message>
        <source>(root)</source>
        <translation>(root)</translation>
    </message>
    <message>
        <source>other folders</source>
        <translation>other folders</translation>
    </message>
</context>
<context>
    <name>StagedInstall</name>
    <message>
        <source>Not enough space</source>
        <translation>Not enough space</translation>
    </message>
    <message>
        <source>There is not enough free space on Corvel3 to install the system.
%1 MB are needed, %2 MB are free.
The system on Corvel3 has not been changed.</source>
        <translation>There is not enough free space on Corvel3 to install the system.
%1 MB are needed, %2 MB are free.
The system on Corvel3 has not been changed.</translation>
    </message>
</context>
<context>
    <name>SwapRecovery</name>
    <message>
        <source>The last installation of the system on Corvel3 was cut short (the program closed, the PC switched off or Corvel3 unplugged).
</source>
        <translation>The last installation of the system on Corvel3 was cut short (the program closed, the PC switched off or Corvel3 unplugged).
</translation>
    </message>
    <message>
        <source>
If the installation was to save the songs and bring them back, they are in the backup folder chosen: the Restore button brings them back to Corvel3.</source>
        <translation>
If the installation was to save the songs and bring them back, they are in the backup folder chosen: the Restore button brings them back to Corvel3.</translation>
    </message>
    <message>
        <source>Installation completed</source>
        <translation>Installation completed</translation>
    </message>
    <message>
        <source>It has now been completed: Corvel3 has the new system.</source>
        <translation>It has now been completed: Corvel3 has the new system.</translation>
    </message>
    <message>
        <source>Installation undone</source>
        <translation>Installation undone</translation>
    </message>
    <message>
        <source>It has now been undone: Corvel3 has its previous system again.</source>
        <translation>It has now been undone: Corvel3 has its previous system again.</translation>
    </message>
    <message>
        <source>Recovery failed</source>
        <translation>Recovery failed</translation>
    </message>
    <message>
        <source>It could be neither completed nor undone: Corvel3 may be write-protected or damaged. No installation is possible until it is.
Reconnect Corvel3 and start the program again.
The log of operations is in:
%1</source>
        <translation>It could be neither completed nor undone: Corvel3 may be write-protected or damaged. No installation is possible until it is.
Reconnect Corvel3 and start the program again.
The log of operations is in:
%1</translation>
    </message>
</context>
<context>
    <name>backup</name>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>%1 files will be copied.
Do you want to continue ?</source>
        <translation>%1 files will be copied.
Do you want to continue ?</translation>
    </message>
    <message>
        <source>The chosen folder cannot share files between backups (a FAT or exFAT drive, a network share):
every file is copied in full.</source>
        <translation>The chosen folder cannot share files between backups (a FAT or exFAT drive, a network share):
every file is copied in full.</translation>
    </message>
</context>
<context>
    <name>backupdestination</name>
    <message>
        <source>The chosen folder is on the Corvel3 (or leads there through a link).
The backup must be saved on the PC: choose another folder.</source>
        <translation>The chosen folder is on the Corvel3 (or leads there through a link).
The backup must be saved on the PC: choose another folder.</translation>
    </message>
    <message>
        <source>The chosen folder holds the Corvel3.
Choose another folder.</source>
        <translation>The chosen folder holds the Corvel3.
Choose another folder.</translation>
    </message>
    <message>
        <source>The chosen folder is the root of a drive.
Create or choose a folder inside it.</source>
        <translation>The chosen folder is the root of a drive.
Create or choose a folder inside it.</translation>
    </message>
    <message>
        <source>The chosen folder is the system&apos;s root, your home folder or a folder above it.
Create or choose a folder inside it.</source>
        <translation>The chosen folder is the system&apos;s root, your home folder or a folder above it.
Create or choose a folder inside it.</translation>
    </message>
    <message>
        <source>Unsuitable folder</source>
        <translation>Unsuitable folder</translation>
    </message>
</context>
<context>
    <name>backupset</name>
    <message>
        <source>Backups</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>The folder holds no backups:</source>
        <translation>The folder holds no backups:</translation>
    </message>
    <message>
        <source>%1 songs</source>
        <translation>%1 songs</translation>
    </message>
    <message>
        <source>complete</source>
        <translation>complete</translation>
    </message>
    <message>
        <source>incomplete</source>
        <translation>incomplete</translation>
    </message>
    <message>
        <source>all files there</source>
        <translation>all files there</translation>
    </message>
    <message>
        <source>files missing</source>
        <translation>files missing</translation>
    </message>
    <message>
        <source>new %1, shared %2</source>
        <translation>new %1, shared %2</translation>
    </message>
    <message>
        <source>Reading the backups...</source>
        <translation>Reading the backups...</translation>
    </message>
    <message>
        <source>Checking the backup...</source>
        <translation>Checking the backup...</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>damaged</translation>
    </message>
    <message>
        <source>incomplete backup</source>
        <translation>incomplete backup</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... and %1 more</translation>
    </message>
    <message>
        <source>Damaged backup</source>
        <translation>Damaged backup</translation>
    </message>
    <message>
        <source>Some files of the backup are missing or damaged:</source>
        <translation>Some files of the backup are missing or damaged:</translation>
    </message>
    <message>
        <source>Removing the older backups...</source>
        <translation>Removing the older backups...</translation>
    </message>
    <message>
        <source>removed: </source>
        <translation>removed: </translation>
    </message>
    <message>
        <source>not removed</source>
        <translation>not removed</translation>
    </message>
    <message>
        <source>would remove: </source>
        <translation>would remove: </translation>
    </message>
</context>
<context>
    <name>cliformatter</name>
    <message>
        <source>would delete %1 file</source>
        <translation>would delete %1 file</translation>
    </message>
    <message>
        <source>would delete %1 files</source>
        <translation>would delete %1 files</translation>
    </message>
    <message>
        <source>would move %1 image into Images</source>
        <translation>would move %1 image into Images</translation>
    </message>
    <message>
        <source>would move %1 images into Images</source>
        <translation>would move %1 images into Images</translation>
    </message>
    <message>
        <source>would move %1 song</source>
        <translation>would move %1 song</translation>
    </message>
    <message>
        <source>would move %1 songs</source>
        <translation>would move %1 songs</translation>
    </message>
    <message>
        <source> into %1 folder</source>
        <translation> into %1 folder</translation>
    </message>
    <message>
        <source> into %1 folders</source>
        <translation> into %1 folders</translation>
    </message>
    <message>
        <source>would rename %1 item</source>
        <translation>would rename %1 item</translation>
    </message>
    <message>
        <source>would rename %1 items</source>
        <translation>would rename %1 items</translation>
    </message>
    <message>
        <source>would rewrite %1 playlist</source>
        <translation>would rewrite %1 playlist</translation>
    </message>
    <message>
        <source>would rewrite %1 playlists</source>
        <translation>would rewrite %1 playlists</translation>
    </message>
    <message>
        <source>would change nothing</source>
        <translation>would change nothing</translation>
    </message>
    <message>
        <source>safe answer</source>
        <translation>safe answer</translation>
    </message>
    <message>
        <source>would %1</source>
        <translation>would %1</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>delete</translation>
    </message>
    <message>
        <source>move</source>
        <translation>move</translation>
    </message>
    <message>
        <source>rename</source>
        <translation>rename</translation>
    </message>
    <message>
        <source>create</source>
        <translation>create</translation>
    </message>
    <message>
        <source>rewrite</source>
        <translation>rewrite</translation>
    </message>
    <message>
        <source>FAILED: </source>
        <translation>FAILED: </translation>
    </message>
    <message>
        <source>Dry run: nothing on the player changed.</source>
        <translation>Dry run: nothing on the player changed.</translation>
    </message>
    <message>
        <source>Written into %1</source>
        <translation>Written into %1</translation>
    </message>
    <message>
        <source>: failed</source>
        <translation>: failed</translation>
    </message>
    <message>
        <source>: declined</source>
        <translation>: declined</translation>
    </message>
    <message>
        <source>: stopped</source>
        <translation>: stopped</translation>
    </message>
    <message>
        <source>: player not found</source>
        <translation>: player not found</translation>
    </message>
    <message>
        <source>: problems left: %1</source>
        <translation>: problems left: %1</translation>
    </message>
    <message>
        <source>would remove %1 backup</source>
        <translation>would remove %1 backup</translation>
    </message>
    <message>
        <source>would remove %1 backups</source>
        <translation>would remove %1 backups</translation>
    </message>
    <message>
        <source>remove</source>
        <translation>remove</translation>
    </message>
    <message>
        <source>Dry run: nothing changed.</source>
        <translation>Dry run: nothing changed.</translation>
    </message>
</context>
<context>
    <name>clifrontend</name>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Yes to All</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Enter</translation>
    </message>
</context>
<context>
    <name>copyengine</name>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>File Already Exists</source>
        <translation>File Already Exists</translation>
    </message>
    <message>
        <source>File
</source>
        <translation>File
</translation>
    </message>
    <message>
        <source>
Already exists. Replace it? </source>
        <translation>
Already exists. Replace it? </translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Yes to All</translation>
    </message>
</context>
<context>
    <name>defrag</name>
    <message>
        <source>Defrag in progress...</source>
        <translation>Defrag in progress...</translation>
    </message>
</context>
<context>
    <name>healthcheck</name>
    <message>
        <source>Checking the library: listing the files...</source>
        <translation>Checking the library: listing the files...</translation>
    </message>
    <message>
        <source>Checking the library: reading the songs...</source>
        <translation>Checking the library: reading the songs...</translation>
    </message>
    <message>
        <source>%1 free, the system package takes %2</source>
        <translation>%1 free, the system package takes %2</translation>
    </message>
</context>
<context>
    <name>healthfix</name>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlists</translation>
    </message>
    <message>
        <source>These playlist songs are elsewhere on the Corvel3:
%1

Update the playlists to find them where they are now?</source>
        <translation>These playlist songs are elsewhere on the Corvel3:
%1

Update the playlists to find them where they are now?</translation>
    </message>
    <message>
        <source>playlists not updated</source>
        <translation>playlists not updated</translation>
    </message>
    <message>
        <source>These playlist lines point at no song:
%1

Remove them from the playlists? (No song is touched; every line removed is written in the log of operations.)</source>
        <translation>These playlist lines point at no song:
%1

Remove them from the playlists? (No song is touched; every line removed is written in the log of operations.)</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>not rewritten</source>
        <translation>not rewritten</translation>
    </message>
    <message>
        <source>Duplicate songs</source>
        <translation>Duplicate songs</translation>
    </message>
    <message>
        <source>The same song (%1) is in %2 places:
%3

Keep %4 and delete the other copies? Playlist lines naming them will name the one kept.</source>
        <translation>The same song (%1) is in %2 places:
%3

Keep %4 and delete the other copies? Playlist lines naming them will name the one kept.</translation>
    </message>
    <message>
        <source>Delete the copies</source>
        <translation>Delete the copies</translation>
    </message>
    <message>
        <source>Keep them</source>
        <translation>Keep them</translation>
    </message>
    <message>
        <source>Keep all the rest</source>
        <translation>Keep all the rest</translation>
    </message>
    <message>
        <source>not deleted</source>
        <translation>not deleted</translation>
    </message>
    <message>
        <source>Names</source>
        <translation>Names</translation>
    </message>
    <message>
        <source>These names do not suit the Corvel3:
%1

Rename them? The playlists follow.</source>
        <translation>These names do not suit the Corvel3:
%1

Rename them? The playlists follow.</translation>
    </message>
    <message>
        <source>journal not written</source>
        <translation>journal not written</translation>
    </message>
    <message>
        <source>not renamed</source>
        <translation>not renamed</translation>
    </message>
</context>
<context>
    <name>healthreport</name>
    <message>
        <source>Playlist lines that point at no song</source>
        <translation>Playlist lines that point at no song</translation>
    </message>
    <message>
        <source>Songs whose title cannot be read</source>
        <translation>Songs whose title cannot be read</translation>
    </message>
    <message>
        <source>Damaged MP3s</source>
        <translation>Damaged MP3s</translation>
    </message>
    <message>
        <source>Damaged MIDIs</source>
        <translation>Damaged MIDIs</translation>
    </message>
    <message>
        <source>Empty songs (0 bytes)</source>
        <translation>Empty songs (0 bytes)</translation>
    </message>
    <message>
        <source>Companion files without their song</source>
        <translation>Companion files without their song</translation>
    </message>
    <message>
        <source>Names with characters FAT refuses</source>
        <translation>Names with characters FAT refuses</translation>
    </message>
    <message>
        <source>Names too long</source>
        <translation>Names too long</translation>
    </message>
    <message>
        <source>Names that differ only in case</source>
        <translation>Names that differ only in case</translation>
    </message>
    <message>
        <source>Folders with more than 1000 songs</source>
        <translation>Folders with more than 1000 songs</translation>
    </message>
    <message>
        <source>Duplicate songs</source>
        <translation>Duplicate songs</translation>
    </message>
    <message>
        <source>Not enough free space for the system</source>
        <translation>Not enough free space for the system</translation>
    </message>
    <message>
        <source>%1 songs checked (%2).</source>
        <translation>%1 songs checked (%2).</translation>
    </message>
    <message>
        <source>Free space on the Corvel3: %1.</source>
        <translation>Free space on the Corvel3: %1.</translation>
    </message>
    <message>
        <source>Check stopped: the picture is incomplete.</source>
        <translation>Check stopped: the picture is incomplete.</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>No problems found.</translation>
    </message>
    <message>
        <source> - the optimisation splits them</source>
        <translation> - the optimisation splits them</translation>
    </message>
</context>
<context>
    <name>libraryscan</name>
    <message>
        <source>WARNING</source>
        <translation>WARNING</translation>
    </message>
    <message>
        <source>WARNING: Scanning in progress.
This may take some time
Do NOT switch off and do NOT unplug Corvel</source>
        <translation>WARNING: Scanning in progress.
This may take some time
Do NOT switch off and do NOT unplug Corvel</translation>
    </message>
    <message>
        <source>Scanning directories...</source>
        <translation>Scanning directories...</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>Not every playlist could be updated for the songs whose too long names were shortened; the next optimization will complete the playlists.</source>
        <translation>Not every playlist could be updated for the songs whose too long names were shortened; the next optimization will complete the playlists.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;corvel3-cli --help&apos;.</source>
        <translation>Try &apos;corvel3-cli --help&apos;.</translation>
    </message>
    <message>
        <source>Stopping at the next safe point (Ctrl-C again: quit at once)...</source>
        <translation>Stopping at the next safe point (Ctrl-C again: quit at once)...</translation>
    </message>
</context>
<context>
    <name>mainwindow_about</name>
    <message>
        <source>About Corvel3</source>
        <translation>About Corvel3</translation>
    </message>
    <message>
        <source>Corvel3 maintenance tool
Version %1
Licence: proprietary, all rights reserved.

The operation log (every file deleted, moved, renamed or replaced) is kept in:
%2</source>
        <translation>Corvel3 maintenance tool
Version %1
Licence: proprietary, all rights reserved.

The operation log (every file deleted, moved, renamed or replaced) is kept in:
%2</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>About Qt</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italian</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>messagetable</name>
    <message>
        <source>Format Corvel3 HD</source>
        <translation>Format Corvel3 HD</translation>
    </message>
    <message>
        <source>WARNING!
All the contents of Corvel3 HD will be erased
Do you want to continue?</source>
        <translation>WARNING!
All the contents of Corvel3 HD will be erased
Do you want to continue?</translation>
    </message>
    <message>
        <source>Serching for Corvel3 USB Connection...</source>
        <translation>Serching for Corvel3 USB Connection...</translation>
    </message>
    <message>
        <source>Downloading last release from V-Orla Website...</source>
        <translation>Downloading last release from V-Orla Website...</translation>
    </message>
    <message>
        <source>Copying update files...</source>
        <translation>Copying update files...</translation>
    </message>
    <message>
        <source>Backup of files from Corvel to PC...</source>
        <translation>Backup of files from Corvel to PC...</translation>
    </message>
    <message>
        <source>Create an image of Corvel3 operative system...</source>
        <translation>Create an image of Corvel3 operative system...</translation>
    </message>
    <message>
        <source>Formatting Corvel3...</source>
        <translation>Formatting Corvel3...</translation>
    </message>
    <message>
        <source>Transferring Corvel3 operative system...</source>
        <translation>Transferring Corvel3 operative system...</translation>
    </message>
    <message>
        <source>Restore backup copy on Corvel3...</source>
        <translation>Restore backup copy on Corvel3...</translation>
    </message>
    <message>
        <source>Scanning Corvel3 internal storage...</source>
        <translation>Scanning Corvel3 internal storage...</translation>
    </message>
    <message>
        <source>System files are damaged or missing</source>
        <translation>System files are damaged or missing</translation>
    </message>
    <message>
        <source>WARNING : system files are damaged or missing , attempt recovery ?</source>
        <translation>WARNING : system files are damaged or missing , attempt recovery ?</translation>
    </message>
    <message>
        <source>I can&apos;t find Corvel3 on USB port</source>
        <translation>I can&apos;t find Corvel3 on USB port</translation>
    </message>
    <message>
        <source>Switch Off Corvel3 e connect to USB PC Port.
Then switch on Corvel3 and
when connection form is displyed on Corvel3 LCD,
press START again</source>
        <translation>Switch Off Corvel3 e connect to USB PC Port.
Then switch on Corvel3 and
when connection form is displyed on Corvel3 LCD,
press START again</translation>
    </message>
    <message>
        <source>Format error</source>
        <translation>Format error</translation>
    </message>
    <message>
        <source>There was an error during Corvel3 format.
Switch OFF Corvel3 and reconnect to PC USB port.
Then turn Corvel on again and
when connection splash screen appair on Corvel3 display ,
click START again</source>
        <translation>There was an error during Corvel3 format.
Switch OFF Corvel3 and reconnect to PC USB port.
Then turn Corvel on again and
when connection splash screen appair on Corvel3 display ,
click START again</translation>
    </message>
    <message>
        <source>Error while BackUp</source>
        <translation>Error while BackUp</translation>
    </message>
    <message>
        <source>Error during songs&apos; backup.
Abort porcedure</source>
        <translation>Error during songs&apos; backup.
Abort porcedure</translation>
    </message>
    <message>
        <source>Errore durante il Restore</source>
        <translation>Errore durante il Restore</translation>
    </message>
    <message>
        <source>C&apos;èstato durante il ripristino delle basi.
Operazione annullata</source>
        <translation>C&apos;èstato durante il ripristino delle basi.
Operazione annullata</translation>
    </message>
    <message>
        <source>End operation</source>
        <translation>End operation</translation>
    </message>
    <message>
        <source>Setup finished.
Switch off Corvel3 and unconnect from PC, then switch on Corvel3.
If during update phase on Corvel3 display it asks to reboot, switch off and switch on again
 until it shows the songs list again.</source>
        <translation>Setup finished.
Switch off Corvel3 and unconnect from PC, then switch on Corvel3.
If during update phase on Corvel3 display it asks to reboot, switch off and switch on again
 until it shows the songs list again.</translation>
    </message>
    <message>
        <source>Download Error </source>
        <translation>Download Error </translation>
    </message>
    <message>
        <source>There was an error during update packet download
Please try later</source>
        <translation>There was an error during update packet download
Please try later</translation>
    </message>
    <message>
        <source>Update files downloaded.
Switch off Corvel3 and unconnect from PC, then switch on Corvel3.
If during update phase on Corvel3 display it asks to reboot, switch off and switch on again
 until it shows the songs list again.</source>
        <translation>Update files downloaded.
Switch off Corvel3 and unconnect from PC, then switch on Corvel3.
If during update phase on Corvel3 display it asks to reboot, switch off and switch on again
 until it shows the songs list again.</translation>
    </message>
</context>
<context>
    <name>optimiserun</name>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>The Corvel3&apos;s disk is read-only or cannot be written: no file has been changed.
Check the Corvel3&apos;s connection and try again.</source>
        <translation>The Corvel3&apos;s disk is read-only or cannot be written: no file has been changed.
Check the Corvel3&apos;s connection and try again.</translation>
    </message>
</context>
<context>
    <name>restore</name>
    <message>
        <source>Backup cannot be checked</source>
        <translation>Backup cannot be checked</translation>
    </message>
    <message>
        <source>This backup has no list of the saved files (an earlier version of the program made it): it cannot be checked.
Do you want to restore it anyway ?</source>
        <translation>This backup has no list of the saved files (an earlier version of the program made it): it cannot be checked.
Do you want to restore it anyway ?</translation>
    </message>
    <message>
        <source>missing: </source>
        <translation>missing: </translation>
    </message>
    <message>
        <source>changed: </source>
        <translation>changed: </translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... and %1 more</translation>
    </message>
    <message>
        <source>Damaged backup</source>
        <translation>Damaged backup</translation>
    </message>
    <message>
        <source>The list of files of this backup cannot be read.
Restore cancelled: nothing was written to the Corvel3.</source>
        <translation>The list of files of this backup cannot be read.
Restore cancelled: nothing was written to the Corvel3.</translation>
    </message>
    <message>
        <source>Some files of the backup are missing or have changed since it was made.
Restore cancelled: nothing was written to the Corvel3.

</source>
        <translation>Some files of the backup are missing or have changed since it was made.
Restore cancelled: nothing was written to the Corvel3.

</translation>
    </message>
    <message>
        <source>The chosen folder holds %1 backups.
The newest one will be restored:
%2
Do you want to continue ?</source>
        <translation>The chosen folder holds %1 backups.
The newest one will be restored:
%2
Do you want to continue ?</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>Choose the backup to restore:</source>
        <translation>Choose the backup to restore:</translation>
    </message>
    <message>
        <source>What to restore</source>
        <translation>What to restore</translation>
    </message>
    <message>
        <source>Choose the folders, songs and playlists to copy back onto the Corvel3.</source>
        <translation>Choose the folders, songs and playlists to copy back onto the Corvel3.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Part not found</source>
        <translation>Part not found</translation>
    </message>
    <message>
        <source>The backup holds no:
%1
Restore cancelled: nothing was written to the Corvel3.</source>
        <translation>The backup holds no:
%1
Restore cancelled: nothing was written to the Corvel3.</translation>
    </message>
</context>
</TS>
