<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ConsoleConfig</name>
    <message>
        <location filename="../udp-console/consoleconfig.cpp" line="+50"/>
        <source>localhost IPv4</source>
        <translation>localhost IPv4</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>localhost IPv6</source>
        <translation>localhost IPv6</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>any IPv4</source>
        <translation>любой IPv4</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>any IPv6</source>
        <translation>любой IPv6</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>any IPv4/v6</source>
        <translation>любой IPv4/v6</translation>
    </message>
</context>
<context>
    <name>ConsoleConfigFile</name>
    <message>
        <location filename="../udp-console/consoleconfigfile.cpp" line="+27"/>
        <source>Settings are kept in %1</source>
        <translation>Настройки хранятся в %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Settings cannot be saved: neither %1 nor %2 can be written</source>
        <translation>Настройки нельзя сохранить: запись невозможна ни в %1, ни в %2</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>The settings file %1 is empty.</source>
        <translation>Файл настроек %1 пуст.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The settings file %1 cannot be read as settings.</source>
        <translation>Файл настроек %1 не удаётся прочитать как настройки.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 is not a regular file.</source>
        <translation>%1 — не обычный файл.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>unknown error</source>
        <translation>неизвестная ошибка</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The settings file could not be read. It was kept as %1 and replaced with the current settings.</source>
        <translation>Не удалось прочитать файл настроек. Он сохранён как %1 и заменён текущими настройками.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The settings were not saved: the unreadable settings file %1 could not be kept as a copy, so it was not replaced (%2).</source>
        <translation>Настройки не сохранены: не удалось сделать копию нечитаемого файла настроек %1, поэтому он не заменён (%2).</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The settings could not be saved to %1: %2</source>
        <translation>Не удалось сохранить настройки в %1: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The unreadable settings file was kept as %1.</source>
        <translation>Нечитаемый файл настроек сохранён как %1.</translation>
    </message>
</context>
<context>
    <name>InfoArea</name>
    <message>
        <location filename="../udp-console/infoarea.cpp" line="+12"/>
        <source>No info available</source>
        <translation>Нет описания</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../udp-console/mainwindow.cpp" line="+118"/>
        <source>show</source>
        <translation>показывать</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>hide</source>
        <translation>скрывать</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>&amp;Copy message</source>
        <translation>&amp;Копировать сообщение</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Show whole message</source>
        <translation>&amp;Показать сообщение целиком</translation>
    </message>
    <message>
        <location filename="../udp-console/mainwindow.ui" line="+622"/>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>&amp;Load configuration</source>
        <translation>&amp;Загрузить конфигурацию</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Save received messages...</source>
        <translation>&amp;Сохранить принятые сообщения...</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Exit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <location line="-20"/>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>&amp;Change received messages display limit</source>
        <translation>&amp;Изменить предел числа отображаемых принятых сообщений</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;Enable word wrapping in received messages</source>
        <translation>&amp;Переносить строки в принятых сообщениях</translation>
    </message>
    <message>
        <location filename="../udp-console/mainwindow.cpp" line="+156"/>
        <source>The console starts with its default settings and keeps the file as a .bak copy when it saves them.</source>
        <translation>Консоль запускается с настройками по умолчанию и при их сохранении оставит копию файла с расширением .bak.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The console starts with its default settings and cannot save them there.</source>
        <translation>Консоль запускается с настройками по умолчанию и не сможет сохранить их туда.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>The received messages could not be saved to %1: %2</source>
        <translation>Не удалось сохранить принятые сообщения в %1: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Messages saved to %1: %2</source>
        <translation>Сообщений сохранено в %1: %2</translation>
    </message>
    <message>
        <location line="+188"/>
        <source>&amp;Unbind</source>
        <translation>Отв&amp;язать</translation>
    </message>
    <message>
        <location line="+127"/>
        <source>Sto&amp;p</source>
        <translation>Останов&amp;ить</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Sent: %1</source>
        <translation>Отправлено: %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Repeated sending stopped: %1.</source>
        <translation>Повторная отправка остановлена: %1.</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>Save received messages</source>
        <translation>Сохранение принятых сообщений</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Текстовые файлы (*.txt);;Все файлы (*)</translation>
    </message>
    <message>
        <location line="-257"/>
        <source>Select a configuration file</source>
        <translation>Выберите файл конфигурации</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Configuration files (*.json)</source>
        <translation>Файлы конфигурации (*.json)</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>The file %1 does not exist.</source>
        <translation>Файл %1 не существует.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was loaded.</source>
        <translation>Ничего не загружено.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Enter a value</source>
        <translation>Введите значение</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Received messages display limit</source>
        <translation>Предел числа отображаемых принятых сообщений</translation>
    </message>
    <message>
        <location line="+126"/>
        <source>Looking up %1 ...</source>
        <translation>Поиск адреса %1 ...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Not sent to %1:%2: %3</source>
        <translation>Не отправлено на %1:%2: %3</translation>
    </message>
    <message>
        <location line="-100"/>
        <source>Unable to bind. Probably the specified port number is already in use.</source>
        <translation>Не удалось привязать сокет. Вероятно, указанный порт уже занят.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <location filename="../udp-console/mainwindow.ui" line="-603"/>
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
        <location line="+20"/>
        <location filename="../udp-console/mainwindow.cpp" line="-24"/>
        <source>&amp;Bind</source>
        <translation>&amp;Привязать</translation>
    </message>
    <message>
        <location line="+25"/>
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
        <location line="+285"/>
        <source>Columns:</source>
        <translation>Столбцов:</translation>
    </message>
    <message>
        <location line="-271"/>
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
        <source>Show &amp;all</source>
        <translation>Пока&amp;зать все</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Hide all</source>
        <translation>&amp;Скрыть все</translation>
    </message>
    <message>
        <location line="+83"/>
        <source>Whole &amp;message</source>
        <translation>Сообщение &amp;целиком</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Every byte of the selected message, as text and in hex</source>
        <translation>Все байты выбранного сообщения, текстом и в шестнадцатеричном виде</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save &amp;list...</source>
        <translation>Со&amp;хранить список...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Save the received messages to a text file</source>
        <translation>Сохранить принятые сообщения в текстовый файл</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>&amp;Clear</source>
        <translation>О&amp;чистить</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>To a&amp;ddress</source>
        <translation>&amp;На адрес</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&amp;Send</source>
        <translation>&amp;Отправить</translation>
    </message>
    <message>
        <location line="+137"/>
        <location filename="../udp-console/mainwindow.cpp" line="+127"/>
        <source>Re&amp;peat</source>
        <translation>Повто&amp;рять</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Send the message again and again at the interval</source>
        <translation>Отправлять сообщение снова и снова с заданным интервалом</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>every</source>
        <translation>каждые</translation>
    </message>
    <message>
        <location line="+7"/>
        <source> ms</source>
        <translation> мс</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Cl&amp;ear</source>
        <translation>Очис&amp;тить</translation>
    </message>
    <message>
        <location line="-356"/>
        <source>Message info</source>
        <translation>Описание сообщения</translation>
    </message>
    <message>
        <location line="+126"/>
        <source>SENDING</source>
        <translation>ОТПРАВКА</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>to port</source>
        <translation>порт</translation>
    </message>
    <message>
        <location line="+26"/>
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
    <name>MessageBytesDialog</name>
    <message>
        <location filename="../udp-console/messagebytesdialog.ui" line="+25"/>
        <source>&amp;Text</source>
        <translation>&amp;Текст</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&amp;Hex</source>
        <translation>&amp;Шестнадцатеричный вид</translation>
    </message>
    <message>
        <location filename="../udp-console/messagebytesdialog.cpp" line="+30"/>
        <source>Bytes: %1</source>
        <translation>Байт: %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Whole message</source>
        <translation>Сообщение целиком</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No message is selected.</source>
        <translation>Сообщение не выбрано.</translation>
    </message>
</context>
<context>
    <name>RepeatSender</name>
    <message>
        <location filename="../udp-console/repeatsender.cpp" line="+35"/>
        <source>cannot send to %1:%2: %3</source>
        <translation>не удаётся отправить на %1:%2: %3</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>the socket was unbound, so the messages would leave from another port</source>
        <translation>сокет отвязан, и сообщения уходили бы с другого порта</translation>
    </message>
</context>
<context>
    <name>RxMessageModel</name>
    <message>
        <location filename="../udp-console/rxmessagemodel.cpp" line="+168"/>
        <source>(JSON nested too deeply to be shown indented)</source>
        <translation>(JSON слишком глубоко вложен, чтобы показать его с отступами)</translation>
    </message>
</context>
<context>
    <name>RxPipeline</name>
    <message>
        <location filename="../udp-console/rxpipeline.cpp" line="+108"/>
        <source>%1 from %2:%3</source>
        <translation>%1 от %2:%3</translation>
    </message>
</context>
<context>
    <name>TxAddressResolver</name>
    <message>
        <location filename="../udp-console/txaddressresolver.cpp" line="+18"/>
        <source>Not sent: &quot;%1&quot; is neither an IP address nor a host name.</source>
        <translation>Не отправлено: «%1» не является ни IP-адресом, ни именем узла.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>no address the socket can send to</source>
        <translation>нет адреса, на который сокет может отправить</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Not sent: cannot resolve %1: %2</source>
        <translation>Не отправлено: не удалось определить адрес %1: %2</translation>
    </message>
</context>
</TS>
