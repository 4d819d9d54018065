<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CollapsibleGroupBox</name>
    <message>
        <location filename="../widgets/collapsiblegroupbox.cpp" line="+23"/>
        <source>Click the title to expand</source>
        <translation>Щёлкните заголовок, чтобы развернуть</translation>
    </message>
</context>
<context>
    <name>JsonConfigFile</name>
    <message>
        <location filename="../widgets/jsonconfigfile.cpp" line="+46"/>
        <source>%1 is not a regular file</source>
        <translation>%1 не является обычным файлом</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 is read-only</source>
        <translation>%1 доступен только для чтения</translation>
    </message>
    <message>
        <location line="+65"/>
        <source>the configuration takes %1 bytes, more than the %2 bytes that can be read back</source>
        <translation>конфигурация занимает %1 байт, больше %2 байт, которые можно прочитать обратно</translation>
    </message>
</context>
<context>
    <name>QIODevice</name>
    <message>
        <location filename="../widgets/safefilewriter.cpp" line="+159"/>
        <source>Unknown error</source>
        <translation>Неизвестная ошибка</translation>
    </message>
</context>
<context>
    <name>SafeFileWriter</name>
    <message>
        <location line="-121"/>
        <source>the file cannot be created</source>
        <translation>файл не удаётся создать</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+9"/>
        <location line="+9"/>
        <source>the file is not open for writing</source>
        <translation>файл не открыт для записи</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>the file holds %1 of the %2 bytes written</source>
        <translation>в файле %1 из %2 записанных байт</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the file cannot be put in place of the old one</source>
        <translation>файл не удаётся поставить на место старого</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>only %1 of %2 bytes could be written</source>
        <translation>удалось записать только %1 из %2 байт</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>%1 written bytes cannot be passed on to the disk</source>
        <translation>%1 записанных байт не удаётся передать на диск</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>the file cannot be synced to the disk: %1</source>
        <translation>файл не удаётся сбросить на диск: %1</translation>
    </message>
</context>
</TS>
