<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>WorkProfileHandler</name>
    <message>
        <location filename="../app/workprofilehandler.cpp" line="+146"/>
        <location line="+5"/>
        <location line="+4"/>
        <source>Cannot save the configuration to %1: %2</source>
        <translation>Не удалось сохранить конфигурацию в %1: %2</translation>
    </message>
    <message>
        <location line="+63"/>
        <source> (copy)</source>
        <translation> (копия)</translation>
    </message>
    <message>
        <location line="+179"/>
        <source>Default profile</source>
        <translation>Профиль по умолчанию</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>Cannot keep a copy of the unreadable configuration file %1, so it was not replaced: %2</source>
        <translation>Не удалось сохранить копию нечитаемого файла конфигурации %1, поэтому он не был заменён: %2</translation>
    </message>
</context>
</TS>
