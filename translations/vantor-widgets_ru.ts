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
</TS>
