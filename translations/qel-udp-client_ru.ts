<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../udp-console/mainwindow.cpp" line="+66"/>
        <source>Settings are kept in %1</source>
        <translation>Настройки хранятся в %1</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>localhost IPv4</source>
        <translation>localhost IPv4</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>localhost IPv6</source>
        <translation>localhost IPv6</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>any IPv4</source>
        <translation>любой IPv4</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>any IPv6</source>
        <translation>любой IPv6</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>any IPv4/v6</source>
        <translation>любой IPv4/v6</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>show</source>
        <translation>показывать</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>hide</source>
        <translation>скрывать</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>&amp;Copy message</source>
        <translation>&amp;Копировать сообщение</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Show whole message</source>
        <translation>&amp;Показать сообщение целиком</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Load configuration</source>
        <translation>&amp;Загрузить конфигурацию</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Exit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Change received messages display limit</source>
        <translation>&amp;Изменить предел числа отображаемых принятых сообщений</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Enable word wrapping in received messages</source>
        <translation>&amp;Переносить строки в принятых сообщениях</translation>
    </message>
    <message>
        <location line="+199"/>
        <source>%1 from %2:%3</source>
        <translation>%1 от %2:%3</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>No info available</source>
        <translation>Нет описания</translation>
    </message>
    <message>
        <location line="+116"/>
        <source>Select a configuration file</source>
        <translation>Выберите файл конфигурации</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Configuration files (*.json)</source>
        <translation>Файлы конфигурации (*.json)</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Enter a value</source>
        <translation>Введите значение</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Received messages display limit</source>
        <translation>Предел числа отображаемых принятых сообщений</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Unbind</source>
        <translation>Отвязать</translation>
    </message>
    <message>
        <location line="+111"/>
        <source>Not sent: &quot;%1&quot; is neither an IP address nor a host name.</source>
        <translation>Не отправлено: «%1» не является ни IP-адресом, ни именем узла.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Looking up %1 ...</source>
        <translation>Поиск адреса %1 ...</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>no address the socket can send to</source>
        <translation>нет адреса, на который сокет может отправить</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Not sent: cannot resolve %1: %2</source>
        <translation>Не отправлено: не удалось определить адрес %1: %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Not sent to %1:%2: %3</source>
        <translation>Не отправлено на %1:%2: %3</translation>
    </message>
    <message>
        <location filename="../udp-console/mainwindow.ui" line="+123"/>
        <location filename="../udp-console/mainwindow.cpp" line="-151"/>
        <source>Bind</source>
        <translation>Привязать</translation>
    </message>
    <message>
        <location filename="../udp-console/mainwindow.cpp" line="+18"/>
        <source>Unable to bind. Probably the specified port number is already in use.</source>
        <translation>Не удалось привязать сокет. Вероятно, указанный порт уже занят.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <location filename="../udp-console/mainwindow.ui" line="-62"/>
        <source>RECEIVING</source>
        <translation>ПРИЁМ</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>From</source>
        <translation>С</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>address, listen on port</source>
        <translation>адреса, слушать порт</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Message filtering</source>
        <translation>Фильтрация сообщений</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Mark message types to show</source>
        <translation>Отметьте типы сообщений для показа</translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+262"/>
        <source>Columns:</source>
        <translation>Столбцов:</translation>
    </message>
    <message>
        <location line="-248"/>
        <source>No filtering rules</source>
        <translation>Нет правил фильтрации</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>If no rule matches then</source>
        <translation>Если ни одно правило не подошло, то</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>messages</source>
        <translation>сообщения</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Show all</source>
        <translation>Показать все</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Hide all</source>
        <translation>Скрыть все</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Message info</source>
        <translation>Описание сообщения</translation>
    </message>
    <message>
        <location line="+81"/>
        <location line="+219"/>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <location line="-194"/>
        <source>SENDING</source>
        <translation>ОТПРАВКА</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>To address</source>
        <translation>На адрес</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>to port</source>
        <translation>порт</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Send</source>
        <translation>Отправить</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Message templates</source>
        <translation>Шаблоны сообщений</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Click a button to compose a message to send</source>
        <translation>Нажмите кнопку, чтобы составить сообщение для отправки</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>No message templates</source>
        <translation>Нет шаблонов сообщений</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Template info</source>
        <translation>Описание шаблона</translation>
    </message>
</context>
<context>
    <name>RxMessageModel</name>
    <message>
        <location filename="../udp-console/rxmessagemodel.cpp" line="+158"/>
        <source>(JSON nested too deeply to be shown indented)</source>
        <translation>(JSON слишком глубоко вложен, чтобы показать его с отступами)</translation>
    </message>
</context>
</TS>
