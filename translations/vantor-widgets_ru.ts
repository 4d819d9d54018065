<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CollapsibleGroupBox</name>
    <message>
        <location filename="../widgets/collapsiblegroupbox.cpp" line="+24"/>
        <source>Click the title to expand</source>
        <translation>Щёлкните заголовок, чтобы развернуть</translation>
    </message>
</context>
<context>
    <name>JsonConfigFile</name>
    <message>
        <location filename="../widgets/jsonconfigfile.cpp" line="+43"/>
        <source>%1 is not a regular file</source>
        <translation>%1 не является обычным файлом</translation>
    </message>
</context>
</TS>
