#include "tools/kavelon-db/Demo.h"

#include "data/Schema.h"

#include <algorithm>
#include <random>

namespace kavelon::dbtool {

namespace {

struct Client {
    const char *name, *director, *address, *phone;
};
const Client clientRows[] = {
    {"ООО «Уралснабкомплект»", "Сорокин Андрей Викторович",
     "г. Екатеринбург, ул. Малышева, д. 51, оф. 304", "+7 (343) 215-40-18"},
    {"АО «Северский трубный завод»", "Гончаров Илья Сергеевич", "г. Полевской, ул. Вершинина, д. 7",
     "+7 (34350) 3-27-05"},
    {"ИП Кузнецова Е. А.", "Кузнецова Елена Анатольевна", "г. Берёзовский, ул. Шиловская, д. 12",
     "+7 912 604-33-81"},
    {"ООО «ТехноСтрой»", "Павлов Дмитрий Олегович", "г. Екатеринбург, ул. Фронтовых бригад, д. 18",
     "+7 (343) 328-17-90"},
    {"ООО «Агрохолдинг Исеть»", "Лебедев Сергей Николаевич",
     "г. Каменск-Уральский, ул. Ленина, д. 36", "+7 (3439) 32-14-55"},
    {"ЗАО «Мебельная фабрика Лесник»", "Фёдоров Алексей Петрович", "г. Реж, ул. Костоусова, д. 4",
     "+7 (34364) 2-18-40"},
    {"ООО «Хлебокомбинат №1»", "Морозова Ольга Ивановна",
     "г. Нижний Тагил, ул. Красноармейская, д. 80", "+7 (3435) 41-02-77"},
    {"ПАО «Уралэлектромедь»", "Никитин Виктор Геннадьевич", "г. Верхняя Пышма, пр. Успенский, д. 1",
     "+7 (34368) 4-65-20"},
    {"ООО «Строительный двор»", "Волков Роман Александрович",
     "г. Первоуральск, ул. Ватутина, д. 27", "+7 (3439) 64-70-13"},
    {"ООО «Молочный край»", "Егорова Наталья Юрьевна", "г. Ирбит, ул. Советская, д. 100",
     "+7 (34355) 6-41-92"},
    {"ИП Белов С. М.", "Белов Станислав Маркович", "г. Асбест, ул. Уральская, д. 63, кв. 8",
     "+7 922 118-05-47"},
    {"ООО «ЛогистикПро»", "Тарасов Евгений Владимирович",
     "г. Екатеринбург, ул. Черняховского, д. 86", "+7 (343) 287-55-02"},
    {"АО «Кировградский завод»", "Зайцев Михаил Борисович", "г. Кировград, ул. Свердлова, д. 2",
     "+7 (34357) 4-00-31"},
    {"ООО «Ревдинский кирпичный завод»", "Медведев Олег Степанович",
     "г. Ревда, ул. Строителей, д. 12", "+7 (34397) 5-23-68"},
    {"ООО «Сысертский фарфор»", "Киселёва Анна Дмитриевна", "г. Сысерть, ул. Коммуны, д. 23",
     "+7 (34374) 6-11-09"},
    {"ООО «Торговый дом Малахит»", "Соловьёв Григорий Ильич", "г. Екатеринбург, ул. Вайнера, д. 9а",
     "+7 (343) 371-26-44"},
    {"ООО «Богдановичское стекло»", "Степанов Юрий Аркадьевич",
     "г. Богданович, ул. Кунавина, д. 31", "+7 (34376) 2-47-18"},
    {"ИП Романов К. Е.", "Романов Константин Евгеньевич", "г. Камышлов, ул. Карла Маркса, д. 45",
     "+7 950 641-12-70"},
    {"ООО «Алапаевский лес»", "Орлов Денис Васильевич", "г. Алапаевск, ул. Ленина, д. 11",
     "+7 (34346) 2-90-56"},
    {"ООО «Серовская сталь»", "Макаров Пётр Андреевич", "г. Серов, ул. Агломератчиков, д. 6",
     "+7 (34385) 9-31-24"},
};

struct Settlement {
    const char* name;
    int distance;
};
const Settlement settlementRows[] = {
    {"Берёзовский", 15}, {"Верхняя Пышма", 16}, {"Первоуральск", 45},
    {"Ревда", 47},       {"Сысерть", 52},       {"Полевской", 56},
    {"Асбест", 66},      {"Кировград", 82},     {"Реж", 84},
    {"Невьянск", 91},    {"Богданович", 96},    {"Каменск-Уральский", 102},
    {"Сухой Лог", 118},  {"Артёмовский", 121},  {"Нижний Тагил", 142},
    {"Камышлов", 139},   {"Алапаевск", 148},    {"Кушва", 186},
    {"Ирбит", 204},      {"Челябинск", 211},    {"Красноуфимск", 216},
    {"Качканар", 232},   {"Туринск", 251},      {"Шадринск", 253},
    {"Тюмень", 326},     {"Серов", 341},        {"Пермь", 359},
    {"Курган", 362},     {"Тавда", 364},        {"Краснотурьинск", 423},
};

struct Vehicle {
    const char *make, *plate, *capacity, *consumption, *tariff;
};
// Two vehicles share a make, one make is longer than an order's 20 characters, and one tariff is
// written with a decimal comma, as dispatchers did type them.
const Vehicle vehicleRows[] = {
    {"ГАЗель Next", "А214КМ96", "1500", "14", "3"},
    {"КамАЗ 65115", "В507ОР96", "15000", "34", "5"},
    {"КамАЗ 65115", "Е733ТУ96", "15000", "35", "6"},
    {"Mercedes-Benz Actros 1845 LS", "М845АС196", "20000", "31", "9"},
    {"МАЗ 5440", "К118НА96", "18000", "33", "7"},
    {"Volvo FH 460", "О460ХВ196", "20000", "30", "8"},
    {"ГАЗ-3309", "Т390СЕ96", "4500", "20", "4"},
    {"Isuzu NQR 90", "Н902РК96", "5000", "16", "3,5"},
    {"Scania R 440", "С440МО196", "20000", "29", "8"},
    {"Урал 4320", "У432ЕТ96", "7000", "42", "6"},
};

// No driver drives the vehicle with the comma tariff, so no order names it.
struct Driver {
    const char *name, *address;
    int vehicle; // index into vehicleRows
};
const Driver driverRows[] = {
    {"Иванов Сергей Петрович", "г. Екатеринбург, ул. Щорса, 105-12", 0},
    {"Смирнов Алексей Игоревич", "г. Берёзовский, ул. Гагарина, 4-31", 1},
    {"Кузьмин Николай Васильевич", "г. Екатеринбург, ул. Бебеля, 17-5", 2},
    {"Попов Андрей Юрьевич", "г. Первоуральск, ул. Ильича, 9-44", 3},
    {"Васильев Дмитрий Сергеевич", "г. Ревда, ул. Мира, д. 22, кв. 7", 4},
    {"Петров Игорь Александрович", "г. Екатеринбург, ул. Шварца, 2-88", 5},
    {"Соколов Михаил Евгеньевич", "г. Сысерть, ул. Орджоникидзе, д. 14", 6},
    {"Михайлов Владимир Олегович", "г. Асбест, ул. Ленинградская, 26-3", 8},
    {"Новиков Артём Викторович", "г. Екатеринбург, ул. Агрономическая, 6", 9},
    {"Фёдоров Павел Николаевич", "г. Арамиль, ул. 1 Мая, д. 60", 1},
    {"Морозов Виктор Анатольевич", "г. Полевской, ул. Коммунистическая, 8", 3},
    {"Волков Евгений Геннадьевич", "г. Верхняя Пышма, ул. Кривоусова, 11", 5},
    {"Алексеев Роман Степанович", "г. Екатеринбург, ул. Луначарского, 194", 4},
    {"Лебедев Константин Ильич", "г. Невьянск, ул. Профсоюзов, 3-15", 8},
    {"Семёнов Юрий Фёдорович", "г. Реж, ул. Калинина, д. 33", 0},
};

QString cut(const QString& text, int width) {
    return text.left(width);
}
Value text(const char* s) {
    return Value::text(QString::fromUtf8(s));
}
Value number(int v) {
    return Value::integer(v);
}

// std::mt19937 gives the same sequence everywhere; the distributions of <random> do not.
class Dice {
public:
    int below(int n) { return int(engine_() % std::uint32_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }

private:
    std::mt19937 engine_{20240611u};
};

} // namespace

DemoData makeDemoData(const QDate& today) {
    DemoData demo;
    Dice dice;
    for (const Client& c : clientRows)
        demo.clients.push_back({text(c.name), text(c.director), text(c.address), text(c.phone)});
    for (const Settlement& s : settlementRows)
        demo.settlements.push_back({text(s.name), number(s.distance)});
    for (const Vehicle& v : vehicleRows)
        demo.vehicles.push_back({Value(), text(v.make), text(v.plate), text(v.capacity),
                                 text(v.consumption), text(v.tariff)});

    const int driverWidth = schema::drivers().columns[6].size; // "Автомобиль"
    for (int i = 0; i < int(std::size(driverRows)); ++i) {
        const Driver& d = driverRows[i];
        const int licence = 1000000000 + dice.below(1000000000);
        const int phone = dice.between(2000000, 3999999);
        demo.drivers.push_back(
            {Value(), text(d.name), number(licence), Value::boolean(i % 3 == 1), text(d.address),
             number(phone),
             Value::text(cut(QString::fromUtf8(vehicleRows[d.vehicle].make), driverWidth))});
    }

    // The tariff the order dialog reads for a make: that of the first vehicle of the make.
    auto tariffOfMake = [](const char* make) {
        for (const Vehicle& v : vehicleRows)
            if (qstrcmp(v.make, make) == 0)
                return QString::fromUtf8(v.tariff).toInt();
        return 0;
    };

    const TableSchema& journal = schema::journal();
    std::vector<int> daysAgo(300);
    for (int& d : daysAgo)
        d = dice.between(1, 180);
    std::sort(daysAgo.rbegin(), daysAgo.rend()); // oldest first, so order numbers follow the dates
    for (const int ago : daysAgo) {
        const Settlement& settlement = settlementRows[dice.below(int(std::size(settlementRows)))];
        const Client& client = clientRows[dice.below(int(std::size(clientRows)))];
        const Driver& driver = driverRows[dice.below(int(std::size(driverRows)))];
        const Vehicle& vehicle = vehicleRows[driver.vehicle];
        const int capacity = QString::fromUtf8(vehicle.capacity).toInt();
        const int weight = dice.between(capacity / 100, capacity / 10) * 10;
        demo.journal.push_back(
            {Value(), Value::dateTime(DateTime::fromQDate(today.addDays(-ago))),
             Value::text(cut(QString::fromUtf8(settlement.name), journal.columns[2].size)),
             Value::text(cut(QString::fromUtf8(client.name), journal.columns[3].size)),
             Value::text(cut(QString::fromUtf8(driver.name), journal.columns[4].size)),
             Value::text(cut(QString::fromUtf8(vehicle.make), journal.columns[5].size)),
             number(weight), number(settlement.distance * tariffOfMake(vehicle.make))});
    }
    return demo;
}

} // namespace kavelon::dbtool
