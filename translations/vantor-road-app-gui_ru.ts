<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
    <context>
        <name>CanIdTableModel</name>
        <message>
            <location filename="../radar/canidtablemodel.cpp" line="+68" />
            <source>CAN ID</source>
            <translation>CAN ID</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Frames</source>
            <translation>Кадров</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Rate, 1/s</source>
            <translation>Частота, 1/с</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Last payload</source>
            <translation>Последние данные</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Last seen, s ago</source>
            <translation>Получен, с назад</translation>
        </message>
    </context>
    <context>
        <name>GeneralInfoWidget</name>
        <message>
            <location filename="../tables/generalinfowidget.cpp" line="+26" />
            <source>Internal time (uptime)</source>
            <translation>Время работы радара</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Measure cycle number</source>
            <translation>Номер цикла измерения</translation>
        </message>
        <message>
            <location line="+29" />
            <source>%1 day(s) %2</source>
            <translation>%1 дн. %2</translation>
        </message>
        <message>
            <location line="+20" />
            <source>(%1 c/s)</source>
            <translation>(%1 ц/с)</translation>
        </message>
    </context>
    <context>
        <name>HistoryTableWidget</name>
        <message>
            <location filename="../tables/historytablewidget.cpp" line="+14" />
            <source>Clear history</source>
            <translation>Очистить историю</translation>
        </message>
        <message>
            <location line="+1" />
            <location line="+112" />
            <source>Pause</source>
            <translation>Пауза</translation>
        </message>
        <message>
            <location line="-111" />
            <source>Save to file</source>
            <translation>Сохранить в файл</translation>
        </message>
        <message>
            <location line="+9" />
            <source>The format of the file the history is saved to</source>
            <translation>Формат файла, в который сохраняется история</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Text</source>
            <translation>Текст</translation>
        </message>
        <message>
            <location line="+2" />
            <source>CSV for spreadsheets</source>
            <translation>CSV для электронных таблиц</translation>
        </message>
        <message>
            <location line="+99" />
            <source>Continue</source>
            <translation>Продолжить</translation>
        </message>
        <message>
            <location line="+11" />
            <source>No folder for the history can be created.</source>
            <translation>Не удаётся создать папку для истории.</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Cannot save the history: no folder for it can be created.</source>
            <translation>Не удаётся сохранить историю: невозможно создать для неё папку.</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Cannot save the history to %1:
%2</source>
            <translation>Не удаётся сохранить историю в %1:
%2</translation>
        </message>
        <message>
            <location line="+4" />
            <source>The history is saved to %1</source>
            <translation>История сохранена в %1</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Objects history</source>
            <translation>История объектов</translation>
        </message>
    </context>
    <context>
        <name>IVantorClient</name>
        <message>
            <location filename="../radar/ivantorclient.cpp" line="+282" />
            <source>Wrong response message received from Vantor server.</source>
            <translation>Получено неверное ответное сообщение от сервера Vantor.</translation>
        </message>
    </context>
    <context>
        <name>ImitatorObjectWidget</name>
        <message>
            <location filename="../tables/imitatorobjectwidget.cpp" line="+41" />
            <source>%1 km/h</source>
            <translation>%1 км/ч</translation>
        </message>
        <message>
            <location line="+43" />
            <source>no&lt;br&gt;data</source>
            <translation>нет&lt;br&gt;данных</translation>
        </message>
    </context>
    <context>
        <name>LaneStatistics</name>
        <message>
            <location filename="../scheme/lanestatistics.cpp" line="+75" />
            <source>Interval start (UTC)</source>
            <translation>Начало интервала (UTC)</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Minutes</source>
            <translation>Минут</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Lane</source>
            <translation>Полоса</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Approaching</source>
            <translation>К радару</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Receding</source>
            <translation>От радара</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Mean speed, km/h</source>
            <translation>Средняя скорость, км/ч</translation>
        </message>
        <message>
            <location line="+1" />
            <source>85th percentile speed, km/h</source>
            <translation>Скорость 85-го процентиля, км/ч</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Occupancy, %</source>
            <translation>Занятость, %</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Motorcycles</source>
            <translation>Мотоциклы</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Cars</source>
            <translation>Легковые</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Vans</source>
            <translation>Фургоны</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Trucks</source>
            <translation>Грузовые</translation>
        </message>
    </context>
    <context>
        <name>LaneStatisticsChart</name>
        <message>
            <location filename="../app/lanestatisticschart.cpp" line="+54" />
            <source>No intervals yet</source>
            <translation>Интервалов пока нет</translation>
        </message>
        <message>
            <location line="+22" />
            <source>Lane %1</source>
            <translation>Полоса %1</translation>
        </message>
    </context>
    <context>
        <name>LaneStatisticsModel</name>
        <message numerus="yes">
            <location filename="../scheme/lanestatisticsmodel.cpp" line="+39" />
            <source>%n minute(s) from %1</source>
            <translation>
                <numerusform>%n минута с %1</numerusform>
                <numerusform>%n минуты с %1</numerusform>
                <numerusform>%n минут с %1</numerusform>
            </translation>
        </message>
        <message>
            <location line="+14" />
            <source>%1, away</source>
            <translation>%1, от радара</translation>
        </message>
        <message>
            <location line="+1" />
            <source>%1, towards</source>
            <translation>%1, к радару</translation>
        </message>
        <message>
            <location line="+33" />
            <source>Interval</source>
            <translation>Интервал</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Lane</source>
            <translation>Полоса</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Towards</source>
            <translation>К радару</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Away</source>
            <translation>От радара</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Mean, km/h</source>
            <translation>Средняя, км/ч</translation>
        </message>
        <message>
            <location line="+2" />
            <source>85 %, km/h</source>
            <translation>85 %, км/ч</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Occupancy, %</source>
            <translation>Занятость, %</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Motorcycles</source>
            <translation>Мотоциклы</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Cars</source>
            <translation>Легковые</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Vans</source>
            <translation>Фургоны</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Trucks</source>
            <translation>Грузовые</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Vehicles whose track crossed the lane's counting line, %1 m along the road, towards or away from the radar. Each track is counted once; an identifier the radar reuses after a gap or a jump is another vehicle.</source>
            <translation>Транспортные средства, чей трек пересёк линию счёта полосы в %1 м вдоль дороги, в сторону радара или от него. Каждый трек считается один раз; идентификатор, который радар использует снова после перерыва или скачка, — это другое транспортное средство.</translation>
        </message>
        <message>
            <location line="+6" />
            <source>Start of the interval in local time; the interval in progress is in italics.</source>
            <translation>Начало интервала по местному времени; текущий интервал выделен курсивом.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>The lane of the road configuration and its direction of travel.</source>
            <translation>Полоса из конфигурации дороги и направление движения по ней.</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Mean speed of the counted vehicles as they crossed the counting line.</source>
            <translation>Средняя скорость посчитанных транспортных средств при пересечении линии счёта.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>The speed 85 % of the counted vehicles did not exceed.</source>
            <translation>Скорость, которую не превысили 85 % посчитанных транспортных средств.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Share of the observed time in which a vehicle's body was in the lane's measuring zone, %1 to %2 m along the road.</source>
            <translation>Доля времени наблюдения, в течение которой кузов транспортного средства находился в зоне измерения полосы, от %1 до %2 м вдоль дороги.</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Counted vehicles shorter than %1 m.</source>
            <translation>Посчитанные транспортные средства короче %1 м.</translation>
        </message>
        <message>
            <location line="+2" />
            <location line="+4" />
            <source>Counted vehicles from %1 m to less than %2 m.</source>
            <translation>Посчитанные транспортные средства длиной от %1 м до %2 м (не включая).</translation>
        </message>
        <message>
            <location line="+4" />
            <source>Counted vehicles of %1 m and longer.</source>
            <translation>Посчитанные транспортные средства длиной %1 м и более.</translation>
        </message>
    </context>
    <context>
        <name>LaneStatisticsWindow</name>
        <message>
            <location filename="../app/lanestatisticswindow.ui" line="+19" />
            <source>Interval:</source>
            <translation>Интервал:</translation>
        </message>
        <message>
            <location line="+20" />
            <source>Clear</source>
            <translation>Очистить</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Export to CSV...</source>
            <translation>Экспорт в CSV...</translation>
        </message>
        <message>
            <location line="+37" />
            <source>Wrong-way alarms</source>
            <translation>Тревоги о встречном движении</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Alarm when a vehicle drives against its lane for more than</source>
            <translation>Тревога, когда транспортное средство проехало против направления полосы больше чем</translation>
        </message>
        <message>
            <location line="+13" />
            <source> m</source>
            <translation> м</translation>
        </message>
        <message>
            <location filename="../app/lanestatisticswindow.cpp" line="+105" />
            <location line="+6" />
            <source>Export lane statistics</source>
            <translation>Экспорт статистики по полосам</translation>
        </message>
        <message>
            <location line="-5" />
            <source>lane-statistics.csv</source>
            <translation>статистика-по-полосам.csv</translation>
        </message>
        <message>
            <location line="+0" />
            <source>CSV files (*.csv);;All files (*)</source>
            <translation>Файлы CSV (*.csv);;Все файлы (*)</translation>
        </message>
        <message>
            <location line="+6" />
            <source>The statistics could not be saved to %1: %2</source>
            <translation>Не удалось сохранить статистику в %1: %2</translation>
        </message>
        <message>
            <location line="+15" />
            <source>%1  lane %2  object %3  %4 m against the lane</source>
            <translation>%1  полоса %2  объект %3  %4 м против направления полосы</translation>
        </message>
        <message>
            <location line="+20" />
            <source>1 min</source>
            <translation>1 мин</translation>
        </message>
        <message>
            <location line="+0" />
            <source>5 min</source>
            <translation>5 мин</translation>
        </message>
        <message>
            <location line="+0" />
            <source>15 min</source>
            <translation>15 мин</translation>
        </message>
        <message>
            <location line="+4" />
            <source>Each vehicle is counted once, when its track crosses the line %1 m along its lane.</source>
            <translation>Каждое транспортное средство считается один раз, когда его трек пересекает линию в %1 м вдоль полосы.</translation>
        </message>
    </context>
    <context>
        <name>LinkDiagnosticsWidget</name>
        <message>
            <location filename="../app/linkdiagnosticswidget.cpp" line="+84" />
            <source>no ping answered yet</source>
            <translation>ответов на пинг ещё нет</translation>
        </message>
        <message>
            <location line="+1" />
            <source>last ping %1 ms</source>
            <translation>последний пинг %1 мс</translation>
        </message>
        <message>
            <location line="+1" />
            <source>CAN identifiers seen: %1; %2; reconnects in the last hour: %3</source>
            <translation>Получено CAN-идентификаторов: %1; %2; переподключений за последний час: %3</translation>
        </message>
    </context>
    <context>
        <name>LinkHistoryPlot</name>
        <message>
            <location filename="../app/linkhistoryplot.cpp" line="+82" />
            <source>now</source>
            <translation>сейчас</translation>
        </message>
        <message>
            <location line="-24" />
            <location line="+24" />
            <source>−%1 min</source>
            <translation>−%1 мин</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Ping latency, ms</source>
            <translation>Задержка пинга, мс</translation>
        </message>
    </context>
    <context>
        <name>MainWindow</name>
        <message>
            <location filename="../app/mainwindow.cpp" line="+39" />
            <source>QEL Vantor Road App</source>
            <translation>QEL Vantor Road App</translation>
        </message>
        <message>
            <location filename="../app/mainwindow.ui" line="+429" />
            <source>&amp;Server</source>
            <translation>&amp;Сервер</translation>
        </message>
        <message>
            <location line="+164" />
            <source>&amp;Choose radar server</source>
            <translation>&amp;Выбрать сервер радара</translation>
        </message>
        <message>
            <location line="-158" />
            <source>&amp;Help</source>
            <translation>Сп&amp;равка</translation>
        </message>
        <message>
            <location line="+163" />
            <source>&amp;About this program</source>
            <translation>&amp;О программе</translation>
        </message>
        <message>
            <location line="-261" />
            <source>&amp;File</source>
            <translation>&amp;Файл</translation>
        </message>
        <message>
            <location line="+112" />
            <source>&amp;Switch work profile</source>
            <translation>&amp;Сменить рабочий профиль</translation>
        </message>
        <message>
            <location line="+5" />
            <source>&amp;Exit</source>
            <translation>&amp;Выход</translation>
        </message>
        <message>
            <location line="-109" />
            <source>&amp;Protocol</source>
            <translation>&amp;Протокол</translation>
        </message>
        <message>
            <location line="+262" />
            <source>&amp;0. Serial, type Q (SerQ)</source>
            <translation>&amp;0. Последовательный, тип Q (SerQ)</translation>
        </message>
        <message>
            <location line="+8" />
            <source>&amp;1. Serial, type P (SerP)</source>
            <translation>&amp;1. Последовательный, тип P (SerP)</translation>
        </message>
        <message>
            <location line="-153" />
            <source>&amp;Force server to change protocol</source>
            <translation>&amp;Принудительно сменить протокол сервера</translation>
        </message>
        <message>
            <location line="-108" />
            <source>&amp;View</source>
            <translation>&amp;Вид</translation>
        </message>
        <message>
            <location line="+4" />
            <source>Visible &amp;controls</source>
            <translation>Видимые &amp;панели</translation>
        </message>
        <message>
            <location line="+230" />
            <source>Lane &amp;statistics...</source>
            <translation>Ста&amp;тистика по полосам...</translation>
        </message>
        <message>
            <location line="+37" />
            <source>Traffic &amp;scheme / Speed generated with imitator</source>
            <translation>&amp;Схема движения / Скорость от имитатора</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Road &amp;objects</source>
            <translation>&amp;Дорожные объекты</translation>
        </message>
        <message>
            <location line="+8" />
            <source>&amp;General info</source>
            <translation>&amp;Общая информация</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Send &amp;commands</source>
            <translation>Отправка &amp;команд</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Configure &amp;limitations</source>
            <translation>&amp;Настройка ограничений</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Fine &amp;tuning</source>
            <translation>&amp;Точная настройка</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Set &amp;radar position</source>
            <translation>Установка положения &amp;радара</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Save &amp;params and restart</source>
            <translation>Сохранение &amp;параметров и перезапуск</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Objects &amp;history</source>
            <translation>&amp;История объектов</translation>
        </message>
        <message>
            <location line="-296" />
            <location line="+304" />
            <source>Projecting to &amp;video</source>
            <translation>Проецирование на &amp;видео</translation>
        </message>
        <message>
            <location line="-322" />
            <source>&amp;Traffic scheme</source>
            <translation>&amp;Схема движения</translation>
        </message>
        <message>
            <location line="+95" />
            <source>Draw road &amp;vertical</source>
            <translation>Рисовать дорогу &amp;вертикально</translation>
        </message>
        <message>
            <location line="+8" />
            <source>&amp;Keep aspect ratio and object sizes</source>
            <translation>Сохранять &amp;пропорции и размеры объектов</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Draw camera's sight &amp;line and area</source>
            <translation>Рисовать &amp;линию и зону обзора камеры</translation>
        </message>
        <message>
            <location line="+8" />
            <location line="+45" />
            <source>Draw &amp;current tracks</source>
            <translation>Рисовать &amp;текущие треки</translation>
        </message>
        <message>
            <location line="-37" />
            <location line="+45" />
            <source>Draw &amp;average tracks</source>
            <translation>Рисовать &amp;усреднённые треки</translation>
        </message>
        <message>
            <location line="+163" />
            <source>&amp;Normal mode</source>
            <translation>&amp;Обычный режим</translation>
        </message>
        <message>
            <location line="+8" />
            <source>&amp;Statistical (long exposure) mode</source>
            <translation>&amp;Статистический режим (длительная выдержка)</translation>
        </message>
        <message>
            <location line="+8" />
            <source>&amp;Mixed mode</source>
            <translation>С&amp;мешанный режим</translation>
        </message>
        <message>
            <location line="-219" />
            <source>Customize &amp;traffic scheme</source>
            <translation>&amp;Настройка схемы движения</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Draw &amp;lane boundaries</source>
            <translation>Рисовать &amp;границы полос</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Draw &amp;distance lines</source>
            <translation>Рисовать линии &amp;дальности</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Draw &amp;object dimensions</source>
            <translation>Рисовать &amp;размеры объектов</translation>
        </message>
        <message>
            <location line="+21" />
            <source>Customize &amp;projecting to video</source>
            <translation>&amp;Настройка проецирования на видео</translation>
        </message>
        <message>
            <location line="+8" />
            <source>&amp;Paint objects in different colors</source>
            <translation>Раскрашивать объекты разными &amp;цветами</translation>
        </message>
        <message>
            <location line="-147" />
            <source>&amp;Data</source>
            <translation>&amp;Данные</translation>
        </message>
        <message>
            <location line="+155" />
            <source>&amp;Automatically get data when radar starts working</source>
            <translation>&amp;Автоматически получать данные при запуске радара</translation>
        </message>
        <message>
            <location line="-151" />
            <source>&amp;Pick up parameters</source>
            <translation>&amp;Подбор параметров</translation>
        </message>
        <message>
            <location line="+156" />
            <source>Radar &amp;position</source>
            <translation>&amp;Положение радара</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Radar position and camera view &amp;angle</source>
            <translation>Положение радара и &amp;угол обзора камеры</translation>
        </message>
        <message>
            <location line="+5" />
            <source>&amp;Reset average tracks</source>
            <translation>С&amp;бросить усреднённые треки</translation>
        </message>
        <message>
            <location filename="../app/mainwindow.cpp" line="+120" />
            <source> Traffic scheme  </source>
            <translation> Схема движения  </translation>
        </message>
        <message>
            <location line="+1" />
            <source> Road objects  </source>
            <translation> Дорожные объекты  </translation>
        </message>
        <message>
            <location line="+1" />
            <source>Send commands  </source>
            <translation>Отправка команд  </translation>
        </message>
        <message>
            <location line="+1" />
            <source>Configure limitations  </source>
            <translation>Настройка ограничений  </translation>
        </message>
        <message>
            <location line="+1" />
            <source>Set radar position  </source>
            <translation>Установка положения радара  </translation>
        </message>
        <message>
            <location line="+1" />
            <source>Fine tuning  </source>
            <translation>Точная настройка  </translation>
        </message>
        <message>
            <location line="+1" />
            <source>Save params and restart  </source>
            <translation>Сохранение параметров и перезапуск  </translation>
        </message>
        <message>
            <location line="+1" />
            <source>General info  </source>
            <translation>Общая информация  </translation>
        </message>
        <message>
            <location line="+80" />
            <source>Open &amp;recording…</source>
            <translation>Открыть &amp;запись…</translation>
        </message>
        <message>
            <location line="+4" />
            <source>&amp;Link diagnostics</source>
            <translation>&amp;Диагностика связи</translation>
        </message>
        <message>
            <location line="+20" />
            <source>Open recording</source>
            <translation>Открыть запись</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Recordings (*.jsonl);;All files (*)</source>
            <translation>Записи (*.jsonl);;Все файлы (*)</translation>
        </message>
        <message>
            <location line="+10" />
            <source>Link diagnostics</source>
            <translation>Диагностика связи</translation>
        </message>
        <message>
            <location line="+9" />
            <source>Playing the recording %1; the server link is detached.</source>
            <translation>Воспроизводится запись %1; связь с сервером отключена.</translation>
        </message>
        <message>
            <location line="+11" />
            <source>Switch work profile</source>
            <translation>Смена рабочего профиля</translation>
        </message>
        <message>
            <location line="+21" />
            <source>Traffic scheme customization</source>
            <translation>Настройка схемы движения</translation>
        </message>
        <message>
            <location line="+6" />
            <source>Projecting to video customization</source>
            <translation>Настройка проецирования на видео</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Radar server</source>
            <translation>Сервер радара</translation>
        </message>
        <message>
            <location line="+11" />
            <source>About this program</source>
            <translation>О программе</translation>
        </message>
        <message>
            <location line="+44" />
            <source>Hardware info</source>
            <translation>Сведения об аппаратуре</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Firmware info</source>
            <translation>Сведения о прошивке</translation>
        </message>
        <message>
            <location line="+101" />
            <source>Objects history</source>
            <translation>История объектов</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Projecting to video</source>
            <translation>Проецирование на видео</translation>
        </message>
        <message>
            <location line="+54" />
            <source> Speed generated with imitator</source>
            <translation> Скорость от имитатора</translation>
        </message>
        <message>
            <location line="+2" />
            <source>, type 1</source>
            <translation>, тип 1</translation>
        </message>
        <message>
            <location line="+2" />
            <source>, type 2</source>
            <translation>, тип 2</translation>
        </message>
        <message>
            <location line="+58" />
            <source>Lane statistics</source>
            <translation>Статистика по полосам</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Wrong-way driver in lane %1 (object %2) at %3</source>
            <translation>Встречное движение на полосе %1 (объект %2) в %3</translation>
        </message>
        <message>
            <location line="+5" />
            <source>View &gt; Lane statistics lists every wrong-way alarm.</source>
            <translation>Все тревоги о встречном движении перечислены в окне «Вид &gt; Статистика по полосам».</translation>
        </message>
        <message>
            <location line="+10" />
            <source>The configuration file %1 is not a regular file, so the program starts from the default profile and cannot save the profiles there.</source>
            <translation>Файл конфигурации %1 не является обычным файлом, поэтому программа запускается с профилем по умолчанию и не может сохранить в него профили.</translation>
        </message>
        <message>
            <location line="+7" />
            <source>The configuration file %1 could not be read, so the program starts from the default profile. The file will be kept as %1.&lt;date&gt;-&lt;time&gt;.bak when the profiles are saved.</source>
            <translation>Не удалось прочитать файл конфигурации %1, поэтому программа запущена с профилем по умолчанию. При сохранении профилей файл будет сохранён как %1.&lt;дата&gt;-&lt;время&gt;.bak.</translation>
        </message>
        <message>
            <location line="+9" />
            <source>The configuration file could not be read. It was kept as %1 and replaced with the current profiles.</source>
            <translation>Не удалось прочитать файл конфигурации. Он сохранён как %1 и заменён текущими профилями.</translation>
        </message>
        <message>
            <location line="+9" />
            <source>The work profiles could not be saved to %1:
%2</source>
            <translation>Не удалось сохранить рабочие профили в %1:
%2</translation>
        </message>
    </context>
    <context>
        <name>ObjectColumns</name>
        <message>
            <location filename="../tables/objectcolumns.cpp" line="+24" />
            <source>id</source>
            <translation>id</translation>
        </message>
        <message>
            <location line="+2" />
            <source>X speed, km/h</source>
            <translation>Скорость X, км/ч</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Y speed, km/h</source>
            <translation>Скорость Y, км/ч</translation>
        </message>
        <message>
            <location line="+2" />
            <source>X range, m</source>
            <translation>Дальность X, м</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Y range, m</source>
            <translation>Дальность Y, м</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Length, m</source>
            <translation>Длина, м</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Updated</source>
            <translation>Обновлено</translation>
        </message>
    </context>
    <context>
        <name>PolygonValueDelegate</name>
        <message>
            <location filename="../panels/polygonvaluedelegate.cpp" line="+31" />
            <source> m/s</source>
            <translation> м/с</translation>
        </message>
        <message>
            <location line="+0" />
            <source> m</source>
            <translation> м</translation>
        </message>
    </context>
    <context>
        <name>PolygonValuesModel</name>
        <message>
            <location filename="../panels/polygonvaluesmodel.cpp" line="+221" />
            <source>Treat %1</source>
            <translation>Обработка %1</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Speed %1</source>
            <translation>Скорость %1</translation>
        </message>
        <message>
            <location line="+4" />
            <source>Point %1 X</source>
            <translation>Точка %1 X</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Point %1 Y</source>
            <translation>Точка %1 Y</translation>
        </message>
        <message>
            <location line="+46" />
            <source>%1 m/s</source>
            <translation>%1 м/с</translation>
        </message>
        <message>
            <location line="+1" />
            <source>%1 m</source>
            <translation>%1 м</translation>
        </message>
        <message>
            <location line="-138" />
            <source>Parameter</source>
            <translation>Параметр</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Value</source>
            <translation>Значение</translation>
        </message>
        <message>
            <location line="+2" />
            <source>State</source>
            <translation>Состояние</translation>
        </message>
        <message>
            <location line="+26" />
            <location line="+78" />
            <source>not a number</source>
            <translation>не число</translation>
        </message>
        <message>
            <location line="+4" />
            <source>not a whole number</source>
            <translation>не целое число</translation>
        </message>
        <message>
            <location line="+7" />
            <source>%1 outside %2..%3</source>
            <translation>%1 вне %2..%3</translation>
        </message>
    </context>
    <context>
        <name>PresetButton</name>
        <message>
            <location filename="../panels/presetbutton.cpp" line="+20" />
            <source>&amp;Rename preset</source>
            <translation>&amp;Переименовать пресет</translation>
        </message>
        <message>
            <location line="+2" />
            <source>&amp;Update preset with current values</source>
            <translation>&amp;Обновить пресет текущими значениями</translation>
        </message>
        <message>
            <location line="+3" />
            <source>&amp;Delete preset</source>
            <translation>&amp;Удалить пресет</translation>
        </message>
    </context>
    <context>
        <name>PresetedWidget</name>
        <message>
            <location filename="../panels/presetedwidget.cpp" line="+26" />
            <source>+</source>
            <translation>+</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Presets:</source>
            <translation>Пресеты:</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Save the current values as a new preset</source>
            <translation>Сохранить текущие значения как новый пресет</translation>
        </message>
        <message>
            <location line="+32" />
            <source>New preset</source>
            <translation>Новый пресет</translation>
        </message>
        <message>
            <location line="+77" />
            <source>Preset name</source>
            <translation>Имя пресета</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Enter new preset name</source>
            <translation>Введите новое имя пресета</translation>
        </message>
    </context>
    <context>
        <name>ProjectionDrawer</name>
        <message>
            <location filename="../projection/projectiondrawer.cpp" line="+338" />
            <source>%1 m</source>
            <translation>%1 м</translation>
        </message>
        <message>
            <location line="+45" />
            <source>%1 km/h</source>
            <translation>%1 км/ч</translation>
        </message>
    </context>
    <context>
        <name>ProjectionWidget</name>
        <message>
            <location filename="../projection/projectionwidget.ui" line="+25" />
            <source>&amp;Load picture...</source>
            <translation>Загрузить &amp;изображение...</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Show a still picture from the camera under the projection</source>
            <translation>Показывать под проекцией неподвижное изображение с камеры</translation>
        </message>
        <message>
            <location line="+5" />
            <source>&amp;No picture</source>
            <translation>&amp;Без изображения</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Show the video window under the projection again</source>
            <translation>Снова показывать под проекцией окно видео</translation>
        </message>
        <message>
            <location line="+5" />
            <source>F&amp;it to picture</source>
            <translation>По ра&amp;змеру изображения</translation>
        </message>
        <message>
            <location line="+6" />
            <source>Fra&amp;meless</source>
            <translation>Без ра&amp;мки</translation>
        </message>
        <message>
            <location line="-5" />
            <source>Give the window the size of the picture</source>
            <translation>Подогнать размер окна под изображение</translation>
        </message>
        <message>
            <location line="+6" />
            <source>Hide the window frame to lay the window exactly over the video</source>
            <translation>Скрыть рамку окна, чтобы точно наложить окно на видео</translation>
        </message>
        <message>
            <location line="+6" />
            <source>Stay on &amp;top</source>
            <translation>Поверх &amp;окон</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Keep the window above the video player</source>
            <translation>Держать окно поверх видеоплеера</translation>
        </message>
        <message>
            <location filename="../projection/projectionwidget.cpp" line="+81" />
            <source>radar position, camera view angle is known</source>
            <translation>положения радара, угол обзора камеры известен</translation>
        </message>
        <message>
            <location line="+1" />
            <source>radar position and camera view angle</source>
            <translation>положения радара и угла обзора камеры</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Picking up parameters</source>
            <translation>Подбор параметров</translation>
        </message>
        <message>
            <location line="+1" />
            <source>%1 %2.
%3
%4</source>
            <translation>%1 %2.
%3
%4</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Selected mode: picking up</source>
            <translation>Выбран режим: подбор</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Mark four checkpoints on the projection as far apart as possible.</source>
            <translation>Отметьте на проекции четыре контрольные точки как можно дальше друг от друга.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Then mark additional line segment along the X axis.</source>
            <translation>Затем отметьте дополнительный отрезок вдоль оси X.</translation>
        </message>
        <message>
            <location line="+48" />
            <source>Unable to show the picture %1.</source>
            <translation>Не удалось показать изображение %1.</translation>
        </message>
        <message>
            <location line="+53" />
            <source>Camera picture</source>
            <translation>Изображение с камеры</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Pictures (*.png *.jpg *.jpeg *.bmp);;All files (*)</source>
            <translation>Изображения (*.png *.jpg *.jpeg *.bmp);;Все файлы (*)</translation>
        </message>
        <message>
            <location line="+58" />
            <source>Checkpoint position</source>
            <translation>Положение контрольной точки</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Enter Y coordinate of the checkpoint #%1, m</source>
            <translation>Введите координату Y контрольной точки №%1, м</translation>
        </message>
        <message>
            <location line="+3" />
            <source>Line segment length</source>
            <translation>Длина отрезка</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Enter line segment length, m</source>
            <translation>Введите длину отрезка, м</translation>
        </message>
        <message>
            <location line="+52" />
            <location line="+14" />
            <location line="+2" />
            <source>Picked parameters</source>
            <translation>Подобранные параметры</translation>
        </message>
        <message>
            <location line="-15" />
            <source>%1
%2</source>
            <translation>%1
%2</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Picked radar position is written into the 'Set radar position' control.</source>
            <translation>Подобранное положение радара записано в панель «Установка положения радара».</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Camera horizontal view angle is %1 deg.</source>
            <translation>Горизонтальный угол обзора камеры: %1 град.</translation>
        </message>
        <message>
            <location line="+4" />
            <source>No camera position fits the checkpoints: the worst misses by %1 px</source>
            <translation>Ни одно положение камеры не подходит к контрольным точкам: наибольший промах %1 px</translation>
        </message>
        <message>
            <location line="+2" />
            <source>No camera position fits the checkpoints: the closest cannot see all of them.</source>
            <translation>Ни одно положение камеры не подходит к контрольным точкам: из ближайшего видны не все из них.</translation>
        </message>
        <message>
            <location line="+3" />
            <source>The closest position lies at the edge of the positions searched.</source>
            <translation>Ближайшее положение лежит на краю просмотренных положений.</translation>
        </message>
        <message>
            <location line="+3" />
            <source>Unable to pick up parameters.</source>
            <translation>Не удалось подобрать параметры.</translation>
        </message>
        <message>
            <location line="+77" />
            <source>#%1: Y %2 m</source>
            <translation>№%1: Y %2 м</translation>
        </message>
        <message>
            <location line="-10" />
            <source>not projected</source>
            <translation>не проецируется</translation>
        </message>
        <message>
            <location line="+1" />
            <source>off by %1 px</source>
            <translation>смещение %1 px</translation>
        </message>
        <message>
            <location line="+13" />
            <source>%1 m</source>
            <translation>%1 м</translation>
        </message>
    </context>
    <context>
        <name>RadarStateWidget</name>
        <message>
            <location filename="../tables/radarstatewidget.cpp" line="+16" />
            <source>[Wrong messages. Check selected protocol]</source>
            <translation>[Неверные сообщения. Проверьте выбранный протокол]</translation>
        </message>
        <message>
            <location line="+2" />
            <source>[Radar is busy now]</source>
            <translation>[Радар занят]</translation>
        </message>
        <message>
            <location line="+2" />
            <source>[Radar is working]</source>
            <translation>[Радар работает]</translation>
        </message>
        <message>
            <location line="+2" />
            <source>[No messages from radar]</source>
            <translation>[Нет сообщений от радара]</translation>
        </message>
        <message>
            <location line="+19" />
            <source>[Messages are not radar messages]</source>
            <translation>[Сообщения не являются сообщениями радара]</translation>
        </message>
    </context>
    <context>
        <name>RadarTuningWidget</name>
        <message>
            <location filename="../panels/radartuningwidget.cpp" line="+28" />
            <source>Frequency index</source>
            <translation>Индекс частоты</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Sensitivity</source>
            <translation>Чувствительность</translation>
        </message>
        <message>
            <location line="+91" />
            <source>Value not sent</source>
            <translation>Значение не отправлено</translation>
        </message>
        <message>
            <location line="+1" />
            <source>The value was changed here and not sent to the radar. Replace it with the radar's value? Otherwise it is kept and the radar's value is shown beside it.</source>
            <translation>Значение изменено здесь и не отправлено на радар. Заменить его значением радара? Иначе оно сохранится, а значение радара будет показано рядом.</translation>
        </message>
        <message>
            <location line="+36" />
            <source>Not read from the radar: get the value, or enter one.</source>
            <translation>Не прочитано с радара: получите значение или введите его.</translation>
        </message>
        <message>
            <location line="-57" />
            <source>Set</source>
            <translation>Задать</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Get</source>
            <translation>Получить</translation>
        </message>
    </context>
    <context>
        <name>RecordingPlayerBar</name>
        <message>
            <location filename="../app/recordingplayerbar.cpp" line="+20" />
            <source>Recording</source>
            <translation>Запись</translation>
        </message>
        <message>
            <location line="+6" />
            <source>Loop</source>
            <translation>По кругу</translation>
        </message>
        <message>
            <location line="+10" />
            <source>Playing speed</source>
            <translation>Скорость воспроизведения</translation>
        </message>
        <message>
            <location line="+2" />
            <source>%1×</source>
            <translation>%1×</translation>
        </message>
        <message>
            <location line="+4" />
            <source>Stop playback</source>
            <translation>Остановить</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Close the recording and connect to the server again</source>
            <translation>Закрыть запись и снова подключиться к серверу</translation>
        </message>
        <message>
            <location line="+57" />
            <source>Pause</source>
            <translation>Пауза</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Play</source>
            <translation>Воспроизвести</translation>
        </message>
    </context>
    <context>
        <name>RecordingSession</name>
        <message>
            <location filename="../app/recordingsession.cpp" line="+67" />
            <source>The file %1 cannot be read.</source>
            <translation>Не удаётся прочитать файл %1.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>The file %1 is not a recording of the radar simulator.</source>
            <translation>Файл %1 не является записью симулятора радара.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>The recording %1 was written in a later version of its format, which this program cannot read.</source>
            <translation>Запись %1 сделана в более новой версии формата, которую эта программа не умеет читать.</translation>
        </message>
        <message>
            <location line="+7" />
            <source>The recording %1 holds no message this program can read.</source>
            <translation>В записи %1 нет ни одного сообщения, которое эта программа может прочитать.</translation>
        </message>
    </context>
    <context>
        <name>RoadConfigWidget</name>
        <message>
            <location filename="../scheme/roadconfigwidget.ui" line="+13" />
            <source>Cross-section</source>
            <translation>Поперечный профиль</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Part</source>
            <translation>Элемент</translation>
        </message>
        <message>
            <location line="+1" />
            <location line="+47" />
            <source>Type</source>
            <translation>Тип</translation>
        </message>
        <message>
            <location line="-46" />
            <source>Width, m</source>
            <translation>Ширина, м</translation>
        </message>
        <message>
            <location line="+10" />
            <source>Add on the left</source>
            <translation>Добавить слева</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Add on the right</source>
            <translation>Добавить справа</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Remove on the left</source>
            <translation>Удалить слева</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Remove on the right</source>
            <translation>Удалить справа</translation>
        </message>
        <message>
            <location line="+15" />
            <source>Sections</source>
            <translation>Участки</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Length, m</source>
            <translation>Длина, м</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Radius, m</source>
            <translation>Радиус, м</translation>
        </message>
        <message>
            <location line="+10" />
            <source>Add section</source>
            <translation>Добавить участок</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Remove section</source>
            <translation>Удалить участок</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Y offset, m</source>
            <translation>Смещение по Y, м</translation>
        </message>
        <message>
            <location line="+24" />
            <source>Preview</source>
            <translation>Предпросмотр</translation>
        </message>
        <message>
            <location filename="../scheme/roadconfigwidget.cpp" line="+15" />
            <location line="+154" />
            <source>median strip</source>
            <translation>разделительная полоса</translation>
        </message>
        <message>
            <location line="-154" />
            <source>lane</source>
            <translation>полоса</translation>
        </message>
        <message>
            <location line="+0" />
            <source>roadside</source>
            <translation>обочина</translation>
        </message>
        <message>
            <location line="+4" />
            <source>straight</source>
            <translation>прямой</translation>
        </message>
        <message>
            <location line="+0" />
            <source>left curve</source>
            <translation>поворот влево</translation>
        </message>
        <message>
            <location line="+0" />
            <source>right curve</source>
            <translation>поворот вправо</translation>
        </message>
        <message>
            <location line="+232" />
            <source>At most %1 parts on each side: the road builder ignores any more.</source>
            <translation>Элементов с каждой стороны — не более %1: построитель дороги игнорирует лишние.</translation>
        </message>
        <message>
            <location line="+9" />
            <source>The road may be at most %1 m long: the road builder cuts a longer road short.</source>
            <translation>Длина дороги — не более %1 м: построитель дороги обрезает более длинную дорогу.</translation>
        </message>
    </context>
    <context>
        <name>RoadSchemePainter</name>
        <message>
            <location filename="../scheme/roadschemepainter.cpp" line="+447" />
            <source>No road set up: View → Traffic scheme → Customize traffic scheme</source>
            <translation>Дорога не настроена: Вид → Схема движения → Настройка схемы движения</translation>
        </message>
        <message>
            <location line="+49" />
            <source>%1 m</source>
            <translation>%1 м</translation>
        </message>
        <message>
            <location line="+153" />
            <source>%1 km/h</source>
            <translation>%1 км/ч</translation>
        </message>
    </context>
    <context>
        <name>SaveAndRestartWidget</name>
        <message>
            <location filename="../panels/saveandrestartwidget.cpp" line="+14" />
            <source>S&amp;ave to flash</source>
            <translation>Сохранить во ф&amp;леш</translation>
        </message>
        <message>
            <location line="+1" />
            <source>&amp;Restart radar</source>
            <translation>П&amp;ерезапустить радар</translation>
        </message>
        <message>
            <location line="+43" />
            <source>Save parameters</source>
            <translation>Сохранение параметров</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Save the radar's current parameters to its flash memory?</source>
            <translation>Сохранить текущие параметры радара в его флеш-память?</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Restart radar</source>
            <translation>Перезапуск радара</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Restart the radar? Parameters not saved to flash will be lost.</source>
            <translation>Перезапустить радар? Параметры, не сохранённые во флеш-память, будут потеряны.</translation>
        </message>
    </context>
    <context>
        <name>SelfDiagnosisReport</name>
        <message>
            <location filename="../panels/selfdiagnosisreport.cpp" line="+15" />
            <source>Radar self-diagnosis</source>
            <translation>Самодиагностика радара</translation>
        </message>
        <message>
            <location line="+8" />
            <source>Unit %1</source>
            <translation>Блок %1</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Self-diagnosis completed.</source>
            <translation>Самодиагностика завершена.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Radar is functioning normally</source>
            <translation>Радар работает нормально</translation>
        </message>
        <message>
            <location line="+3" />
            <source>Radar is functioning wrong</source>
            <translation>Радар работает с ошибками</translation>
        </message>
        <message>
            <location line="+5" />
            <location line="+2" />
            <source>%1: failure</source>
            <translation>%1: сбой</translation>
        </message>
        <message>
            <location line="-2" />
            <source>%1: OK</source>
            <translation>%1: норма</translation>
        </message>
    </context>
    <context>
        <name>SendCommandsWidget</name>
        <message>
            <location filename="../panels/sendcommandswidget.cpp" line="+36" />
            <source>Hardware info</source>
            <translation>Аппаратура</translation>
        </message>
        <message>
            <location line="+0" />
            <location line="+2" />
            <source>Request</source>
            <translation>Запросить</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Firmware info</source>
            <translation>Прошивка</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Self-diagnosis</source>
            <translation>Самодиагностика</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Run</source>
            <translation>Запустить</translation>
        </message>
        <message>
            <location line="+14" />
            <location line="+9" />
            <source>Off</source>
            <translation>Выкл</translation>
        </message>
        <message>
            <location line="-8" />
            <source>Type 1</source>
            <translation>Тип 1</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Type 2</source>
            <translation>Тип 2</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Imitator mode</source>
            <translation>Режим имитатора</translation>
        </message>
        <message>
            <location line="+115" />
            <source>Set</source>
            <translation>Задать</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Get</source>
            <translation>Получить</translation>
        </message>
        <message>
            <location line="+12" />
            <source>Mode not sent</source>
            <translation>Режим не отправлен</translation>
        </message>
        <message>
            <location line="+1" />
            <source>The mode was chosen here and not sent to the radar. Replace it with the radar's mode? Otherwise it is kept and the radar's mode is shown beside it.</source>
            <translation>Режим выбран здесь и не отправлен на радар. Заменить его режимом радара? Иначе он сохранится, а режим радара будет показан рядом.</translation>
        </message>
        <message>
            <location line="+20" />
            <source>Mode %1</source>
            <translation>Режим %1</translation>
        </message>
        <message>
            <location line="+3" />
            <source>mode %1 is none of those this program knows</source>
            <translation>режим %1 не известен этой программе</translation>
        </message>
        <message>
            <location line="+22" />
            <source>Not read from the radar: get the mode, or choose one.</source>
            <translation>Не прочитано с радара: получите режим или выберите его.</translation>
        </message>
        <message>
            <location line="-167" />
            <source>On</source>
            <translation>Вкл</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Demo mode</source>
            <translation>Демо-режим</translation>
        </message>
        <message>
            <location line="-1" />
            <source>Fake targets for demonstration</source>
            <translation>Демо-цели</translation>
        </message>
    </context>
    <context>
        <name>ServerConnectionWidget</name>
        <message>
            <location filename="../app/serverconnectionwidget.cpp" line="+13" />
            <source>[No answer from %1, trying again]</source>
            <translation>[Нет ответа от %1, повторная попытка]</translation>
        </message>
        <message>
            <location line="+3" />
            <source>[%1 sent a message over %2 MiB, trying again]</source>
            <translation>[%1 прислал сообщение больше %2 МиБ, повторная попытка]</translation>
        </message>
        <message>
            <location line="+3" />
            <source>[Connecting to %1]</source>
            <translation>[Подключение к %1]</translation>
        </message>
        <message>
            <location line="+8" />
            <source>[Connected to %1]</source>
            <translation>[Подключено к %1]</translation>
        </message>
        <message>
            <location line="+6" />
            <source>[No connection to %1]</source>
            <translation>[Нет подключения к %1]</translation>
        </message>
        <message>
            <location line="+6" />
            <source>[Disconnected from %1]</source>
            <translation>[Отключено от %1]</translation>
        </message>
        <message>
            <location line="+6" />
            <source>[No answer from %1]</source>
            <translation>[Нет ответа от %1]</translation>
        </message>
        <message>
            <location line="+6" />
            <source>[Disconnected from %1: no answer to pings]</source>
            <translation>[Отключено от %1: нет ответа на пинги]</translation>
        </message>
        <message>
            <location line="+7" />
            <source>[%1 sent a message over %2 MiB]</source>
            <translation>[%1 прислал сообщение больше %2 МиБ]</translation>
        </message>
    </context>
    <context>
        <name>ServerPingWidget</name>
        <message>
            <location filename="../app/serverpingwidget.cpp" line="+5" />
            <source>[Ping timeout: %1 ms]</source>
            <translation>[Тайм-аут пинга: %1 мс]</translation>
        </message>
    </context>
    <context>
        <name>ServerProtocolWidget</name>
        <message>
            <location filename="../app/serverprotocolwidget.cpp" line="+9" />
            <source>[%1]</source>
            <translation>[%1]</translation>
        </message>
    </context>
    <context>
        <name>ServerStateWidget</name>
        <message>
            <location filename="../app/serverstatewidget.cpp" line="+13" />
            <source>HW</source>
            <translation>Апп.</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Ask the radar for its hardware information</source>
            <translation>Запросить у радара сведения об аппаратуре</translation>
        </message>
        <message>
            <location line="+29" />
            <source>[Connecting to NEPS]</source>
            <translation>[Подключение к NEPS]</translation>
        </message>
        <message>
            <location line="+3" />
            <source>[Opening %1]</source>
            <translation>[Открытие %1]</translation>
        </message>
        <message>
            <location line="+3" />
            <source>[Testing %1]</source>
            <translation>[Проверка %1]</translation>
        </message>
        <message>
            <location line="+3" />
            <source>Working on</source>
            <translation>Работа через</translation>
        </message>
        <message>
            <location line="+41" />
            <source>[Messages are not server messages]</source>
            <translation>[Сообщения не являются сообщениями сервера]</translation>
        </message>
    </context>
    <context>
        <name>ServerUrlDialog</name>
        <message>
            <location filename="../app/serverurldialog.cpp" line="+20" />
            <source>Enter new server URL</source>
            <translation>Введите новый URL сервера</translation>
        </message>
        <message>
            <location line="+23" />
            <source>This is not a valid URL.</source>
            <translation>Это недопустимый URL.</translation>
        </message>
        <message>
            <location line="+3" />
            <source>The URL must start with ws:// or wss://.</source>
            <translation>URL должен начинаться с ws:// или wss://.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>The URL names no host.</source>
            <translation>В URL не указан хост.</translation>
        </message>
    </context>
    <context>
        <name>SetPolygonWidget</name>
        <message>
            <location filename="../panels/setpolygonwidget.cpp" line="+60" />
            <source>Polygons in use</source>
            <translation>Используемые полигоны</translation>
        </message>
        <message>
            <location line="-17" />
            <source>Set usage</source>
            <translation>Задать маску</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Get usage</source>
            <translation>Получить маску</translation>
        </message>
        <message>
            <location line="+35" />
            <source>Polygon</source>
            <translation>Полигон</translation>
        </message>
        <message>
            <location line="+66" />
            <source>Send every value changed here and not sent, of all polygons, and the usage</source>
            <translation>Отправить все изменённые здесь и не отправленные значения всех полигонов и маску</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Re-initialise the radar's polygons, then read back the usage and every polygon</source>
            <translation>Сбросить полигоны радара, затем прочитать маску и все полигоны</translation>
        </message>
        <message>
            <location line="+64" />
            <source>Polygon %1 holds values not read from the radar: "Set polygon" is available once the polygon is read or every value is entered.</source>
            <translation>Полигон %1 содержит значения, не прочитанные с радара: «Задать полигон» станет доступно, когда полигон будет прочитан или все значения введены.</translation>
        </message>
        <message>
            <location line="+125" />
            <source>Re-initialise the radar's limitation polygons? The usage and every polygon are read back afterwards; values changed here and not sent are lost.</source>
            <translation>Сбросить полигоны ограничений радара? Затем маска и все полигоны будут прочитаны заново; изменённые здесь и не отправленные значения будут потеряны.</translation>
        </message>
        <message>
            <location line="+79" />
            <source>Values not sent</source>
            <translation>Значения не отправлены</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Some of these values were changed here and not sent to the radar. Replace them with the radar's values? Otherwise they are kept and the radar's values are shown beside them.</source>
            <translation>Некоторые из этих значений изменены здесь и не отправлены на радар. Заменить их значениями радара? Иначе они сохранятся, а значения радара будут показаны рядом.</translation>
        </message>
        <message>
            <location line="+31" />
            <source>The usage is not read from the radar: get it, or tick the polygons in use.</source>
            <translation>Маска не прочитана с радара: получите её или отметьте используемые полигоны.</translation>
        </message>
        <message>
            <location line="+5" />
            <source>Some selected values are not read from the radar: get them, or enter them.</source>
            <translation>Некоторые выбранные значения не прочитаны с радара: получите или введите их.</translation>
        </message>
        <message>
            <location line="+19" />
            <source>Polygon %1</source>
            <translation>Полигон %1</translation>
        </message>
        <message>
            <location line="+0" />
            <source>Polygon %1 (changed)</source>
            <translation>Полигон %1 (изменён)</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Holds values changed here and not sent to the radar</source>
            <translation>Содержит значения, изменённые здесь и не отправленные на радар</translation>
        </message>
        <message>
            <location line="+47" />
            <source>none</source>
            <translation>нет</translation>
        </message>
        <message>
            <location line="-475" />
            <source>Set selected</source>
            <translation>Задать выбранный</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Get selected</source>
            <translation>Получить выбранный</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Set polygon</source>
            <translation>Задать полигон</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Get polygon</source>
            <translation>Получить полигон</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Set changed polygons</source>
            <translation>Задать изменённые полигоны</translation>
        </message>
        <message>
            <location line="+1" />
            <location line="+285" />
            <source>Re-initialise polygons</source>
            <translation>Сбросить полигоны</translation>
        </message>
    </context>
    <context>
        <name>SetPositionWidget</name>
        <message>
            <location filename="../panels/setpositionwidget.cpp" line="+39" />
            <source>Height</source>
            <translation>Высота</translation>
        </message>
        <message>
            <location line="+2" />
            <source>X offset</source>
            <translation>Смещение по X</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Y offset</source>
            <translation>Смещение по Y</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Azimuth</source>
            <translation>Азимут</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Altitude</source>
            <translation>Угол места</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Roll</source>
            <translation>Крен</translation>
        </message>
        <message>
            <location line="+19" />
            <source>S&amp;et position</source>
            <translation>Зада&amp;ть положение</translation>
        </message>
        <message>
            <location line="+1" />
            <source>&amp;Get position</source>
            <translation>Полу&amp;чить положение</translation>
        </message>
        <message>
            <location line="+14" />
            <location line="+222" />
            <source> °</source>
            <translation> °</translation>
        </message>
        <message>
            <location line="-222" />
            <location line="+222" />
            <source> m</source>
            <translation> м</translation>
        </message>
        <message>
            <location line="-177" />
            <source>Not every value is read from the radar or entered: get the position, or enter every value.</source>
            <translation>Не все значения прочитаны с радара или введены: получите положение или введите все значения.</translation>
        </message>
        <message>
            <location line="+8" />
            <source>%1 %2 cannot be sent: the radar takes %3 to %4.</source>
            <translation>%1 %2 нельзя отправить: радар принимает от %3 до %4.</translation>
        </message>
        <message>
            <location line="+57" />
            <source>outside %1 to %2</source>
            <translation>вне диапазона от %1 до %2</translation>
        </message>
        <message>
            <location line="+35" />
            <source>Values not sent</source>
            <translation>Значения не отправлены</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Some values of the position were changed here and not sent to the radar. Replace them with the radar's values? Otherwise they are kept and the radar's values are shown beside them.</source>
            <translation>Некоторые значения положения изменены здесь и не отправлены на радар. Заменить их значениями радара? Иначе они сохранятся, а значения радара будут показаны рядом.</translation>
        </message>
        <message>
            <location line="+28" />
            <source>not a number</source>
            <translation>не число</translation>
        </message>
        <message>
            <location line="+5" />
            <source>%1 outside %2 to %3</source>
            <translation>%1 вне диапазона от %2 до %3</translation>
        </message>
    </context>
    <context>
        <name>TvmsConfigWidget</name>
        <message>
            <location filename="../projection/tvmsconfigwidget.ui" line="+13" />
            <source>Camera X offset, m:</source>
            <translation>Смещение камеры по X, м:</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Camera Y offset, m:</source>
            <translation>Смещение камеры по Y, м:</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Camera height above the radar, m:</source>
            <translation>Высота камеры над радаром, м:</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Azimuth misalignment, deg:</source>
            <translation>Рассогласование по азимуту, град:</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Altitude misalignment, deg:</source>
            <translation>Рассогласование по углу места, град:</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Horizontal view angle, deg:</source>
            <translation>Горизонтальный угол обзора, град:</translation>
        </message>
        <message>
            <location line="+14" />
            <source>Video delay, ms:</source>
            <translation>Задержка видео, мс:</translation>
        </message>
        <message>
            <location line="+17" />
            <source>Reset to &amp;defaults</source>
            <translation>&amp;По умолчанию</translation>
        </message>
        <message>
            <location line="+10" />
            <source>&amp;Close</source>
            <translation>&amp;Закрыть</translation>
        </message>
    </context>
    <context>
        <name>ValueStatus</name>
        <message>
            <location filename="../panels/setpolygonwidget.cpp" line="-215" />
            <location filename="../panels/statelabel.cpp" line="+14" />
            <location filename="../panels/valuestatus.cpp" line="+47" />
            <source>received from radar</source>
            <translation>получено от радара</translation>
        </message>
        <message>
            <location filename="../panels/valuestatus.cpp" line="-18" />
            <source>not read</source>
            <translation>не прочитано</translation>
        </message>
        <message>
            <location line="+3" />
            <source>value changed</source>
            <translation>значение изменено</translation>
        </message>
        <message>
            <location line="+3" />
            <source>queued</source>
            <translation>в очереди</translation>
        </message>
        <message>
            <location line="+3" />
            <source>in progress</source>
            <translation>выполняется</translation>
        </message>
        <message>
            <location line="+3" />
            <source>command received</source>
            <translation>команда принята</translation>
        </message>
        <message>
            <location line="+3" />
            <source>waiting for data</source>
            <translation>ожидание данных</translation>
        </message>
        <message>
            <location line="+3" />
            <source>received from radar (unusual)</source>
            <translation>получено от радара (необычное)</translation>
        </message>
        <message>
            <location line="+3" />
            <source>error occurred: %1</source>
            <translation>ошибка: %1</translation>
        </message>
        <message>
            <location line="+3" />
            <source>no answer: %1</source>
            <translation>нет ответа: %1</translation>
        </message>
        <message>
            <location line="+7" />
            <source>%1, radar: %2</source>
            <translation>%1, радар: %2</translation>
        </message>
        <message>
            <location line="+7" />
            <source>Your value is kept until you send it; the radar holds %1.</source>
            <translation>Ваше значение сохраняется, пока вы его не отправите; у радара %1.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>The radar reports a value outside the usual range: %1.</source>
            <translation>Радар сообщает значение вне обычного диапазона: %1.</translation>
        </message>
        <message>
            <location line="+2" />
            <source>Not read from the radar: get it, or enter a value.</source>
            <translation>Не прочитано с радара: получите или введите значение.</translation>
        </message>
        <message>
            <location line="+77" />
            <source>none after the acknowledgement</source>
            <translation>его не было после подтверждения</translation>
        </message>
        <message>
            <location line="+59" />
            <source>dropped from the queue (%1)</source>
            <translation>удалено из очереди (%1)</translation>
        </message>
        <message>
            <location line="+2" />
            <source>no acknowledgement (%1)</source>
            <translation>нет подтверждения (%1)</translation>
        </message>
        <message>
            <location line="+2" />
            <source>not connected (%1)</source>
            <translation>нет подключения (%1)</translation>
        </message>
        <message>
            <location line="+2" />
            <source>radar error %1</source>
            <translation>ошибка радара %1</translation>
        </message>
        <message>
            <location line="+1" />
            <source>error %1</source>
            <translation>ошибка %1</translation>
        </message>
        <message>
            <location line="-158" />
            <source>refused: %1</source>
            <translation>отклонено: %1</translation>
        </message>
    </context>
    <context>
        <name>WorkProfileHandler</name>
        <message>
            <location filename="../app/workprofilehandler.cpp" line="+302" />
            <source>Cannot save the configuration to %1: %2</source>
            <translation>Не удалось сохранить конфигурацию в %1: %2</translation>
        </message>
        <message>
            <location line="+51" />
            <source>These settings were unusable and use their defaults: %1</source>
            <translation>Эти настройки непригодны, вместо них используются значения по умолчанию: %1</translation>
        </message>
        <message>
            <location line="+9" />
            <source> (copy)</source>
            <translation> (копия)</translation>
        </message>
        <message>
            <location line="-34" />
            <location line="+191" />
            <source>Default profile</source>
            <translation>Профиль по умолчанию</translation>
        </message>
        <message>
            <location line="-224" />
            <source>Cannot keep a copy of the unreadable configuration file %1, so it was not replaced: %2</source>
            <translation>Не удалось сохранить копию нечитаемого файла конфигурации %1, поэтому он не был заменён: %2</translation>
        </message>
    </context>
    <context>
        <name>WorkProfileWidget</name>
        <message>
            <location filename="../app/workprofilewidget.cpp" line="+12" />
            <source>S&amp;witch</source>
            <translation>&amp;Сменить</translation>
        </message>
        <message>
            <location line="+1" />
            <source>&amp;Add a copy</source>
            <translation>&amp;Добавить копию</translation>
        </message>
        <message>
            <location line="+1" />
            <source>&amp;Rename</source>
            <translation>&amp;Переименовать</translation>
        </message>
        <message>
            <location line="+1" />
            <source>Re&amp;move</source>
            <translation>&amp;Удалить</translation>
        </message>
    </context>
</TS>
