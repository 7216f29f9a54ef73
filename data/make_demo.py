#!/usr/bin/env python3
"""Writes data/demo-company.json: the demo company of the simulated host.

A fictitious manufacturer (株式会社北斗精機), fiscal year April 2024 to March 2025, with a
manufacturing cost schedule, consumption tax on the lines (tax excluded in set 1), a year of
journals and the year-end adjustments. Everything is computed here in whole yen, so the
balance sheet balances and the totals add up by construction; the store's tests check it again
with SQL. Deterministic: the same script gives the same file.

    python3 data/make_demo.py > data/demo-company.json
"""
import json
import random
import sys

rng = random.Random(20240401)

# (code, name, kind, debitNature, character, opening yen or None, members or None, extra)
accounts = []


def acc(code, name, kind, debit, character, opening=None, members=None, second="", balance_row=None):
    a = {"code": code, "name": name, "secondName": second, "kind": kind, "debitNature": debit,
         "character": "0x%08X" % character}
    if balance_row is not None:
        a["balanceRow"] = balance_row
    if opening:
        a["opening"] = str(opening)
    if members is not None:
        a["members"] = members
    accounts.append(a)
    return code


def sub(code, name, debit, character):
    acc(code, name, 0, debit, character, balance_row=False)


# --- balance sheet ------------------------------------------------------------------------
CA, INV, TAXIN = 0x80880800, 0x80880820, 0x80880810
current_assets = [
    acc(1110000, "現金", 0, 1, CA, 850000),
    acc(1120000, "当座預金", 0, 1, CA, 12400000),
    acc(1130000, "普通預金", 0, 1, CA, 38650000),
    acc(1140000, "定期預金", 0, 1, CA, 20000000),
    acc(1210000, "受取手形", 0, 1, 0x80880840, 6800000),
    acc(1220000, "売掛金", 0, 1, 0x80880840, 28300000),
    acc(1310000, "製品", 0, 1, INV, 9200000),
    acc(1320000, "原材料", 0, 1, INV, 5600000),
    acc(1330000, "仕掛品", 0, 1, INV, 3100000),
    acc(1340000, "貯蔵品", 0, 1, INV, 420000),
    acc(1410000, "前払費用", 0, 1, CA, 360000),
    acc(1420000, "仮払消費税", 0, 1, TAXIN),
    acc(1430000, "未収入金", 0, 1, CA),
]
sub(1110001, "小口現金", 1, CA)
sub(1130001, "北都銀行", 1, CA)
sub(1130002, "東和信用金庫", 1, CA)
sub(1220001, "東邦機工(株)", 1, 0x80880840)
sub(1220002, "(株)三協製作所", 1, 0x80880840)
sub(1220003, "中部精密工業(株)", 1, 0x80880840)
acc(1990000, "流動資産合計", 2, 1, 0x80880000, members=current_assets, second="流動資産")

PPE = 0x80848100
ppe = [
    acc(2110000, "建物", 0, 1, PPE, 48000000),
    acc(2120000, "建物附属設備", 0, 1, PPE, 6500000),
    acc(2130000, "機械装置", 0, 1, PPE, 36800000),
    acc(2140000, "車両運搬具", 0, 1, PPE, 3200000),
    acc(2150000, "工具器具備品", 0, 1, PPE, 2900000),
    acc(2160000, "土地", 0, 1, PPE, 55000000),
]
acc(2190000, "有形固定資産合計", 2, 1, 0x80848000, members=ppe, second="有形固定資産")
intangible = [
    acc(2210000, "ソフトウェア", 0, 1, 0x80844100, 1800000),
    acc(2220000, "電話加入権", 0, 1, 0x80844100, 150000),
]
acc(2290000, "無形固定資産合計", 2, 1, 0x80844000, members=intangible, second="無形固定資産")
investments = [
    acc(2310000, "投資有価証券", 0, 1, 0x80842100, 4500000),
    acc(2320000, "出資金", 0, 1, 0x80842100, 100000),
    acc(2330000, "差入保証金", 0, 1, 0x80842100, 1200000),
]
acc(2390000, "投資その他の資産合計", 2, 1, 0x80842000, members=investments, second="投資その他の資産")
acc(2990000, "固定資産合計", 2, 1, 0x80840000, members=[2190000, 2290000, 2390000], second="固定資産")
acc(3000000, "資産合計", 2, 1, 0x80800000, members=[1990000, 2990000], second="資産の部")

CL = 0x80480100
current_liabilities = [
    acc(4110000, "支払手形", 0, 0, CL, 4200000),
    acc(4120000, "買掛金", 0, 0, CL, 18600000),
    acc(4130000, "短期借入金", 0, 0, CL, 10000000),
    acc(4140000, "未払金", 0, 0, CL, 2100000),
    acc(4150000, "未払費用", 0, 0, CL, 1350000),
    acc(4160000, "未払法人税等", 0, 0, CL, 2400000),
    acc(4170000, "未払消費税等", 0, 0, 0x80484020, 1150000),
    acc(4180000, "預り金", 0, 0, CL, 680000),
    acc(4190000, "仮受消費税", 0, 0, 0x80484010),
]
sub(4120001, "(株)大和鋼材", 0, CL)
sub(4120002, "日東化成(株)", 0, CL)
acc(4490000, "流動負債合計", 2, 0, 0x80480000, members=current_liabilities, second="流動負債")
noncurrent_liabilities = [
    acc(4510000, "長期借入金", 0, 0, 0x80440100, 45000000),
    acc(4520000, "退職給付引当金", 0, 0, 0x80440100, 6800000),
]
acc(4590000, "固定負債合計", 2, 0, 0x80440000, members=noncurrent_liabilities, second="固定負債")
acc(4700000, "負債合計", 2, 0, 0x80400000, members=[4490000, 4590000], second="負債の部")

# Retained earnings brought forward: its opening balances the opening balance sheet; as a
# listed total it also carries the current year's result (差引損益).
opening_assets = sum(int(a.get("opening", 0)) for a in accounts if a["kind"] == 0 and int(a["character"], 16) & 0x80800000 == 0x80800000)
opening_liabilities = sum(int(a.get("opening", 0)) for a in accounts if a["kind"] == 0 and int(a["character"], 16) & 0x80400000 == 0x80400000)
equity_fixed = 30000000 + 10000000 + 2500000 + 15000000 + 3000000 + 800000
retained_opening = opening_assets - opening_liabilities - equity_fixed
shareholders = [
    acc(5110000, "資本金", 0, 0, 0x80288000, 30000000),
    acc(5210000, "資本準備金", 0, 0, 0x80282080, 10000000),
    acc(5310000, "利益準備金", 0, 0, 0x80281080, 2500000),
    acc(5320000, "別途積立金", 0, 0, 0x80281040, 15000000),
    acc(5330000, "圧縮積立金", 0, 0, 0x80281040, 3000000),
    acc(5340000, "繰越利益剰余金", 3, 0, 0x80281048, retained_opening, members=[8900000]),
]
acc(5390000, "株主資本合計", 2, 0, 0x80280000, members=shareholders, second="株主資本")
acc(5410000, "その他有価証券評価差額金", 0, 0, 0x80248000, 800000)
acc(5490000, "評価・換算差額等合計", 2, 0, 0x80240000, members=[5410000], second="評価・換算差額等")
acc(5990000, "純資産合計", 2, 0, 0x80200000, members=[5390000, 5490000], second="純資産の部")
acc(6000000, "負債・純資産合計", 2, 0, 0x80100000, members=[4700000, 5990000], second="負債・純資産合計")

# --- manufacturing cost schedule ----------------------------------------------------------
material = [acc(6110000, "期首材料棚卸高", 0, 1, 0x20800100),
            acc(6120000, "材料仕入高", 0, 1, 0x20800100),
            acc(6130000, "期末材料棚卸高", 0, 1, 0x20800100)]
acc(6190000, "材料費合計", 2, 1, 0x20800000, members=material, second="材料費")
labour = [acc(6210000, "賃金", 0, 1, 0x20400100),
          acc(6220000, "(製)法定福利費", 0, 1, 0x20400100)]
acc(6290000, "労務費合計", 2, 1, 0x20400000, members=labour, second="労務費")
overhead = [acc(6310000, "外注加工費", 0, 1, 0x20200100),
            acc(6320000, "(製)電力料", 0, 1, 0x20200100),
            acc(6330000, "(製)減価償却費", 0, 1, 0x20200100),
            acc(6340000, "(製)修繕費", 0, 1, 0x20200100),
            acc(6350000, "(製)消耗品費", 0, 1, 0x20200100)]
acc(6390000, "製造経費合計", 2, 1, 0x20200000, members=overhead, second="製造経費")
acc(6400000, "当期総製造費用", 2, 1, 0x20080000, members=[6190000, 6290000, 6390000])
acc(6510000, "期首仕掛品棚卸高", 0, 1, 0x20108100)
acc(6520000, "期首仕掛品棚卸高計", 2, 1, 0x20108000, members=[6510000], second="期首仕掛品棚卸高")
acc(6600000, "小計", 2, 1, 0x20100008, members=[6400000, 6520000])
acc(6710000, "期末仕掛品棚卸高", 0, 1, 0x20102100)
acc(6720000, "期末仕掛品棚卸高計", 2, 1, 0x20102000, members=[6710000], second="期末仕掛品棚卸高")

# --- income statement ---------------------------------------------------------------------
sales = [acc(7110000, "製品売上高", 0, 0, 0x40888100), acc(7120000, "加工収入", 0, 0, 0x40888100)]
acc(7190000, "売上高合計", 2, 0, 0x40888000, members=sales, second="売上高")
cost = [acc(7210000, "期首製品棚卸高", 0, 1, 0x40884100),
        acc(7220000, "当期製品製造原価", 3, 1, 0x40884200, members=[6600000, 6720000]),
        acc(7230000, "期末製品棚卸高", 0, 1, 0x40884100)]
acc(7290000, "売上原価合計", 2, 1, 0x40884000, members=cost, second="売上原価")
acc(7300000, "売上総利益", 2, 0, 0x40880008, members=[7190000, 7290000])
SGA = 0x40882100
sga_names = [(7410000, "役員報酬"), (7420000, "給料手当"), (7430000, "法定福利費"), (7440000, "福利厚生費"),
             (7450000, "旅費交通費"), (7460000, "通信費"), (7470000, "広告宣伝費"), (7480000, "接待交際費"),
             (7490000, "減価償却費"), (7500000, "地代家賃"), (7510000, "水道光熱費"), (7520000, "消耗品費"),
             (7530000, "租税公課"), (7540000, "支払手数料"), (7550000, "保険料"), (7560000, "荷造運賃"),
             (7570000, "雑費")]
sga = [acc(code, name, 0, 1, SGA) for code, name in sga_names]
acc(7590000, "販売費及び一般管理費合計", 2, 1, 0x40882000, members=sga, second="販売費及び一般管理費")
acc(7600000, "営業利益", 2, 0, 0x40880000, members=[7300000, 7590000])
non_op_income = [acc(8110000, "受取利息", 0, 0, 0x40848100), acc(8120000, "受取配当金", 0, 0, 0x40848100),
                 acc(8130000, "雑収入", 0, 0, 0x40848100)]
acc(8190000, "営業外収益合計", 2, 0, 0x40848000, members=non_op_income, second="営業外収益")
non_op_expenses = [acc(8210000, "支払利息", 0, 1, 0x40844100), acc(8220000, "雑損失", 0, 1, 0x40844100)]
acc(8290000, "営業外費用合計", 2, 1, 0x40844000, members=non_op_expenses, second="営業外費用")
acc(8300000, "経常利益", 2, 0, 0x40800000, members=[7600000, 8190000, 8290000])
acc(8410000, "固定資産売却益", 0, 0, 0x40480100)
acc(8490000, "特別利益合計", 2, 0, 0x40480000, members=[8410000], second="特別利益")
acc(8510000, "固定資産除却損", 0, 1, 0x40440100)
acc(8590000, "特別損失合計", 2, 1, 0x40440000, members=[8510000], second="特別損失")
acc(8600000, "税引前当期純利益", 2, 0, 0x40200080, members=[8300000, 8490000, 8590000])
acc(8710000, "法人税、住民税及び事業税", 0, 1, 0x40200100)
acc(8800000, "当期純利益", 2, 0, 0x40200040, members=[8600000, 8710000])
acc(8900000, "差引損益", 2, 0, 0x40200020, members=[8800000])

# --- journals -----------------------------------------------------------------------------
journals = []


def journal(date, lines, adjustment=0):
    journals.append({"id": len(journals) + 1, "date": date, "adjustment": adjustment, "lines": lines})


def line(debit=0, credit=0, amount=0, description="", debit_tax=0, credit_tax=0, debit_amount=None,
         credit_amount=None, counter=0):
    out = {}
    if debit:
        out.update({"debit": debit, "debitAmount": str(amount if debit_amount is None else debit_amount),
                    "debitTax": str(debit_tax)})
    if credit:
        out.update({"credit": credit, "creditAmount": str(amount if credit_amount is None else credit_amount),
                    "creditTax": str(credit_tax)})
    out["description"] = description
    out["counterKind"] = counter
    return out


def taxed_purchase(date, account, net, credit, description):
    tax = net // 10
    journal(date, [line(debit=account, credit=credit, debit_amount=net, debit_tax=tax,
                        credit_amount=net + tax, description=description)])


MONTHS = [(2024, m) for m in range(4, 13)] + [(2025, m) for m in range(1, 4)]
customers = [(1220001, "東邦機工(株)"), (1220002, "(株)三協製作所"), (1220003, "中部精密工業(株)")]
suppliers = [(4120001, "(株)大和鋼材"), (4120002, "日東化成(株)")]
receivable_open = {1220001: 12000000, 1220002: 9800000, 1220003: 6500000}
payable_open = {4120001: 11000000, 4120002: 7600000}
last_sales = dict(receivable_open)
last_purchases = dict(payable_open)
bills = []  # (due date, amount) of the notes received during the year

for year, month in MONTHS:
    d = lambda day: year * 10000 + month * 100 + day
    label = "%d月分" % month
    # Collections of last month's sales, payments of last month's purchases.
    for code, name in customers:
        if month in (6, 12) and code == 1220002:
            journal(d(10), [line(debit=1210000, credit=code, amount=last_sales[code], description=name + " 手形回収")])
            bills.append((year * 10000 + (month + 3) * 100 + 10 if month == 6 else 20250310, last_sales[code]))
        else:
            journal(d(10), [line(debit=1130001, credit=code, amount=last_sales[code], description=name + " 入金")])
    # The checking account is funded from the ordinary account for the suppliers' payments.
    journal(d(24), [line(debit=1120000, credit=1130001, amount=sum(last_purchases.values()), description="当座預金へ資金移動")])
    for code, name in suppliers:
        journal(d(25), [line(debit=code, credit=1120000, amount=last_purchases[code], description=name + " 支払")])
    # Sales on credit with output tax on the sales side.
    for code, name in customers:
        net = rng.randrange(80, 140) * 100000
        journal(d(20), [line(debit=code, credit=7110000, debit_amount=net + net // 10, credit_amount=net,
                             credit_tax=net // 10, description=name + " " + label + "売上")])
        last_sales[code] = net + net // 10
    if month % 3 == 0:
        net = rng.randrange(10, 30) * 100000
        journal(d(28), [line(debit=1130002, credit=7120000, debit_amount=net + net // 10, credit_amount=net,
                             credit_tax=net // 10, description="加工賃 " + label)])
    # Material purchases with input tax.
    for code, name in suppliers:
        net = rng.randrange(35, 60) * 100000
        taxed_purchase(d(15), 6120000, net, code, name + " 材料仕入")
        last_purchases[code] = net + net // 10
    # Payroll: one compound entry.
    wages, salaries, officers = 5200000, 3100000, 1500000
    withheld = (wages + salaries + officers) // 8
    journal(d(25), [
        line(debit=6210000, amount=wages, description=label + "工場賃金", counter=34),
        line(debit=7420000, amount=salaries, description=label + "給料", counter=34),
        line(debit=7410000, amount=officers, description=label + "役員報酬", counter=34),
        line(credit=4180000, amount=withheld, description="源泉税・社会保険料預り", counter=34),
        line(credit=1130001, amount=wages + salaries + officers - withheld, description=label + "給与振込", counter=34),
    ])
    # Social insurance: employer share and the withheld part.
    employer_factory, employer_office = 780000, 690000
    journal(d(28), [
        line(debit=6220000, amount=employer_factory, description="社会保険料 工場", counter=34),
        line(debit=7430000, amount=employer_office, description="社会保険料 本社", counter=34),
        line(debit=4180000, amount=withheld, description="預り金納付", counter=34),
        line(credit=1130001, amount=employer_factory + employer_office + withheld, description="社会保険料納付", counter=34),
    ])
    # Operating expenses with input tax.
    taxed_purchase(d(5), 6320000, rng.randrange(900, 1300) * 1000, 1130002, "北電 工場電力料")
    taxed_purchase(d(5), 7510000, rng.randrange(60, 110) * 1000, 1130002, "本社 水道光熱費")
    taxed_purchase(d(6), 7460000, rng.randrange(80, 120) * 1000, 1130002, "電話・回線使用料")
    taxed_purchase(d(12), 6310000, rng.randrange(15, 30) * 100000, 4140000, "外注加工 協力工場")
    taxed_purchase(d(18), 6350000, rng.randrange(100, 300) * 1000, 1110000, "工場 消耗品")
    taxed_purchase(d(18), 7520000, rng.randrange(30, 90) * 1000, 1110001, "事務用品")
    taxed_purchase(d(22), 7450000, rng.randrange(100, 250) * 1000, 1110000, "出張旅費")
    taxed_purchase(d(26), 7560000, rng.randrange(300, 500) * 1000, 1130002, "製品発送運賃")
    taxed_purchase(d(27), 7540000, rng.randrange(20, 60) * 1000, 1130002, "振込手数料等")
    taxed_purchase(d(1), 7500000, 450000, 1130001, "本社事務所家賃")
    if month in (5, 8, 11, 2):
        taxed_purchase(d(14), 6340000, rng.randrange(200, 600) * 1000, 4140000, "機械修繕")
    if month in (7, 12):
        taxed_purchase(d(16), 7480000, rng.randrange(150, 400) * 1000, 1110000, "得意先接待")
    if month in (4, 10):
        taxed_purchase(d(8), 7470000, rng.randrange(300, 800) * 1000, 1130002, "展示会出展")
    # Loan repayment with interest: compound.
    interest = rng.randrange(60, 75) * 1000
    journal(d(27), [
        line(debit=4510000, amount=750000, description="長期借入金返済 北都銀行", counter=34),
        line(debit=8210000, amount=interest, description="支払利息", counter=34),
        line(credit=1130001, amount=750000 + interest, description="借入金返済引落", counter=34),
    ])
    # Petty cash top-up.
    journal(d(3), [line(debit=1110001, credit=1110000, amount=100000, description="小口現金補充")])
    # Cash from the bank for the expenses paid in cash.
    journal(d(2), [line(debit=1110000, credit=1130002, amount=500000, description="現金引出")])

# Outside contractor and repair payables settled monthly (one sweep per month, next month).
payables_paid = {}
for j in journals:
    for l in j["lines"]:
        if l.get("credit") == 4140000 and j["date"] < 20250301:
            y, m = divmod(j["date"] // 100, 100)
            key = (y + (m == 12), 1 if m == 12 else m + 1)
            payables_paid[key] = payables_paid.get(key, 0) + int(l["creditAmount"])
for (y, m), amount in sorted(payables_paid.items()):
    journal(y * 10000 + m * 100 + 10, [line(debit=4140000, credit=1130001, amount=amount, description="未払金支払 外注・修繕")])
for due, amount in bills:
    journal(due, [line(debit=1120000, credit=1210000, amount=amount, description="受取手形 期日入金")])

# One-off events of the year.
journal(20240531, [line(debit=4160000, credit=1130001, amount=2400000, description="前期法人税等納付")])
journal(20240531, [line(debit=4170000, credit=1130001, amount=1150000, description="前期消費税納付")])
journal(20240530, [line(debit=4150000, credit=1130001, amount=1350000, description="前期未払費用支払")])
journal(20240628, [line(debit=1130001, credit=8120000, amount=180000, description="投資有価証券 配当金")])
journal(20241227, [line(debit=1130001, credit=8120000, amount=150000, description="投資有価証券 配当金")])
journal(20240930, [line(debit=1140000, credit=8110000, amount=12000, description="定期預金利息")])
journal(20250331, [line(debit=1140000, credit=8110000, amount=12000, description="定期預金利息")])
journal(20240820, [line(debit=2130000, credit=4140000, debit_amount=8500000, debit_tax=850000,
                        credit_amount=9350000, description="NC旋盤 取得")])
journal(20240920, [line(debit=4140000, credit=1130001, amount=9350000, description="NC旋盤 代金支払")])
journal(20241015, [
    line(debit=1130002, debit_amount=1320000, description="営業車 売却代金", counter=34),
    line(credit=2140000, amount=900000, description="営業車 簿価", counter=34),
    line(credit=8410000, credit_amount=300000, credit_tax=120000, description="営業車 売却益", counter=34),
])
journal(20250120, [line(debit=8510000, credit=2150000, amount=260000, description="測定器 除却")])
journal(20241129, [line(debit=7530000, credit=1130001, amount=380000, description="固定資産税")])
journal(20240710, [line(debit=7550000, credit=1130001, amount=420000, description="工場火災保険料")])
journal(20250225, [line(debit=1130001, credit=8130000, amount=95000, description="作業くず売却")])
journal(20240816, [line(debit=8220000, credit=1110000, amount=8000, description="現金過不足")])
journal(20250314, [line(debit=1120000, credit=1210000, amount=6800000, description="受取手形 期日入金")])
journal(20241210, [line(debit=7440000, credit=1110000, amount=240000, description="忘年会費用 & 記念品")])
journal(20250110, [line(debit=4130000, credit=1130001, amount=5000000, description="短期借入金 一部返済")])

# --- year-end adjustments (adjustment 13) -------------------------------------------------
YE = 20250331
closing_inventory = {1320000: 6100000, 1330000: 3400000, 1310000: 9800000}
journal(YE, [
    line(debit=6110000, credit=1320000, amount=5600000, description="期首材料振替", counter=34),
    line(debit=1320000, credit=6130000, amount=closing_inventory[1320000], description="期末材料棚卸", counter=34),
    line(debit=6510000, credit=1330000, amount=3100000, description="期首仕掛品振替", counter=34),
    line(debit=1330000, credit=6710000, amount=closing_inventory[1330000], description="期末仕掛品棚卸", counter=34),
    line(debit=7210000, credit=1310000, amount=9200000, description="期首製品振替", counter=34),
    line(debit=1310000, credit=7230000, amount=closing_inventory[1310000], description="期末製品棚卸", counter=34),
], 13)
depreciation = {2110000: 1600000, 2120000: 650000, 2130000: 5900000, 2140000: 700000, 2150000: 850000}
factory_share = 4 * 1000000 + 3 * 1000000
journal(YE, [
    line(debit=6330000, amount=factory_share + 1000000, description="減価償却費 工場", counter=34),
    line(debit=7490000, amount=sum(depreciation.values()) - factory_share - 1000000, description="減価償却費 本社", counter=34),
] + [line(credit=code, amount=amount, description="減価償却", counter=34) for code, amount in depreciation.items()], 13)
journal(YE, [line(debit=6210000, credit=4520000, amount=600000, description="退職給付引当金繰入")], 13)
journal(YE, [line(debit=7500000, credit=1410000, amount=360000, description="前期前払家賃 振替")], 13)
journal(YE, [line(debit=1410000, credit=7500000, amount=450000, description="翌期4月分家賃 前払計上")], 13)
journal(YE, [line(debit=8210000, credit=4150000, amount=96000, description="未払利息 計上")], 13)

# Consumption tax settlement from what the year collected and paid.
output_tax = sum(int(l.get("creditTax", "0")) for j in journals for l in j["lines"])
input_tax = sum(int(l.get("debitTax", "0")) for j in journals for l in j["lines"])
journal(YE, [
    line(debit=4190000, amount=output_tax, description="仮受消費税 振替", counter=34),
    line(credit=1420000, amount=input_tax, description="仮払消費税 振替", counter=34),
    line(credit=4170000, amount=output_tax - input_tax, description="未払消費税等 計上", counter=34),
], 13)


# Income before taxes, computed from the journals in set 1 (tax excluded) for the tax journal.
def pl_total():
    codes = {a["code"]: a for a in accounts}
    total = 0
    for j in journals:
        for l in j["lines"]:
            for side, sign in (("debit", -1), ("credit", 1)):
                code = l.get(side, 0)
                if code and code - code % 10000 in codes and int(codes[code - code % 10000]["character"], 16) & 0x80000000 == 0:
                    total += sign * int(l[side + "Amount"])
    return total


pre_tax = pl_total()
income_tax = (pre_tax * 31 // 100) // 100 * 100
journal(YE, [line(debit=8710000, credit=4160000, amount=income_tax, description="法人税等 計上")], 13)

# --- saved financial-statement documents --------------------------------------------------
CRLF = "\r\n"
settings = "[Kessansho]" + CRLF + "Note=1" + CRLF + "Unit=0" + CRLF
displayed_sections = {1, 2, 4}
notes_settings = "[Notes]" + CRLF + "InputMode=1" + CRLF + "".join(
    "[Note_%d]%sTitle=%d%sDisp=%d%s" % (k, CRLF, k, CRLF, 1 if k in displayed_sections else 0, CRLF) for k in range(11))


def note(number, name, disp, lines):
    record = ["<ID>%d" % number, "<Name>%s" % name, "<Kind>0", "<Disp>%d" % disp, "<Value>"]
    record += ["<Line>%s</Line>" % text for text in lines]
    record.append("</Value>")
    return CRLF.join(record) + CRLF


notes_text = "".join([
    note(1000010, "継続企業の前提に関する注記", 0, ["該当事項はありません。"]),
    note(1010010, "重要な会計方針に係る事項に関する注記", 1, []),
    note(1010020, "資産の評価基準及び評価方法", 1, []),
    note(1010030, "有価証券の評価基準及び評価方法", 1,
         ["その他有価証券", "　時価のあるもの　決算日の市場価格等に基づく時価法", "　（評価差額は全部純資産直入法により処理）"]),
    note(1010040, "棚卸資産の評価基準及び評価方法", 1, ["総平均法による原価法（収益性の低下による簿価切下げの方法）"]),
    note(1010050, "固定資産の減価償却の方法", 1,
         ["有形固定資産　定率法（ただし建物及び建物附属設備は定額法）", "無形固定資産　定額法"]),
    note(1010060, "引当金の計上基準", 1, ["退職給付引当金　期末自己都合要支給額を計上しています。"]),
    note(1060010, "貸借対照表に関する注記", 1, []),
    note(1060020, "担保に供している資産", 1, ["建物 45,600,000円 &amp; 土地 55,000,000円", "（長期借入金の担保）"]),
    note(1060060, "有形固定資産の減価償却累計額", 1, ["86,450,000円"]),
    note(1070010, "損益計算書に関する注記", 0, ["関係会社との取引はありません。"]),
    note(1080010, "株主資本等変動計算書に関する注記", 1, []),
    note(1080030, "発行済株式の種類及び総数", 1, ["普通株式　600,000株"]),
    note(1150010, "重要な後発事象に関する注記", 0, ["該当事項はありません。"]),
])

document = {
    "format": "orbeck-host-data",
    "version": 1,
    "packageName": "Orbeck２１",
    "expSysLink": 0,
    "folders": {"0": "Users\\Public\\Documents\\Orbeck\\Out\\", "1": "Settings\\"},
    "users": [{"id": "admin", "selectedFirst": 1, "selectedNo": 1},
              {"id": "keiri01", "selectedFirst": 1, "selectedNo": 1}],
    "currentUser": "admin",
    "eras": [{"no": 1, "firstDay": 18680125, "name": "明治"}, {"no": 2, "firstDay": 19120730, "name": "大正"},
             {"no": 3, "firstDay": 19261225, "name": "昭和"}, {"no": 4, "firstDay": 19890108, "name": "平成"},
             {"no": 5, "firstDay": 20190501, "name": "令和"}],
    "data": [{
        "dataId": "DEMO01",
        "selectedNo": 1,
        "companyName": "株式会社北斗精機",
        "periodStart": 20240401,
        "periodEnd": 20250331,
        "closingDay": 31,
        "patternFlag": 1,
        "interimClosing": 0,
        "introMonthIndex": 0,
        "companiesActReady": 1,
        "tax": {"method": 0, "amountBasis": 0},
        "accounts": accounts,
        "journals": sorted(journals, key=lambda j: (j["date"], j["id"])),
        "savedDocuments": {"0": settings, "100": notes_settings, "1000": notes_text},
    }],
}
# Journal ids in date order, as the host numbers them.
for i, j in enumerate(document["data"][0]["journals"]):
    j["id"] = i + 1

json.dump(document, sys.stdout, ensure_ascii=False, indent=1)
sys.stdout.write("\n")
print("pre-tax %d, tax %d, journals %d, accounts %d" % (pre_tax, income_tax, len(journals), len(accounts)), file=sys.stderr)
