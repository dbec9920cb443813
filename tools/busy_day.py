#!/usr/bin/python3
"""Fills a Mivo database (created by a first start of the program) with a busy day for
looking at the takings report: 4 dish categories, 22 dishes, 20 tables, about 120 settled
dinners today between 11:00 and 22:00 paid every way (some with member discount,
reductions, balance, a few returned dishes), member recharges, and six tables still eating.

Usage: tools/busy_day.py PROGRAM_FOLDER/tavira.db [YYYY-MM-DD]   (default: today)
"""
import datetime
import random
import sqlite3
import sys

CATEGORIES = ["热菜", "凉菜", "主食", "酒水"]
DISHES = [  # title, price, category (1-based), discountable
    ("乐山钵钵鸡", 58.8, 2, 1), ("盐菜回锅肉", 26.8, 1, 1), ("水煮肉片(中份)", 38.8, 1, 1),
    ("酸辣土豆丝", 13.5, 1, 1), ("鱼香肉丝", 27.8, 1, 1), ("印象毛血旺(大份)", 56, 1, 1),
    ("肉沫茄子", 16.8, 1, 1), ("陈麻婆豆腐", 13.8, 1, 1), ("玉米虾仁", 39.8, 1, 1),
    ("莴笋木耳肉片", 26.8, 1, 1), ("四川麻辣口水鸡", 23, 2, 1), ("土豆烧鸡", 36.8, 1, 1),
    ("宫保鸡丁", 29.8, 1, 1), ("夫妻肺片", 38.8, 2, 1), ("烟笋炒腊肉", 37.8, 1, 1),
    ("干煸肥肠", 56.8, 1, 1), ("泡椒腰花", 48.8, 1, 1), ("香辣虾", 46, 1, 1),
    ("清炒上海青", 16, 1, 1), ("拍黄瓜", 12, 2, 1), ("米饭", 2.0, 3, 0), ("青岛啤酒", 5.0, 4, 0),
]


def main():
    db = sqlite3.connect(sys.argv[1])
    day = datetime.date.fromisoformat(sys.argv[2]) if len(sys.argv) > 2 else datetime.date.today()
    # Stored seconds are the wall clock counted as if it were UTC.
    start = int(datetime.datetime(day.year, day.month, day.day,
                                  tzinfo=datetime.timezone.utc).timestamp())
    rng = random.Random(20240305)
    c = db.cursor()
    for i, title in enumerate(CATEGORIES, 1):
        c.execute("INSERT INTO lumo_caipin_class(id,title,sort) VALUES(?,?,?)", (i, title, i))
    for i, (title, price, cid, zk) in enumerate(DISHES, 1):
        c.execute("INSERT INTO lumo_caipin(id,title,price,stock,cid,sort,iszk) "
                  "VALUES(?,?,?,99,?,?,?)", (i, title, "%g" % price, cid, i, zk))
    for n in range(1, 21):
        c.execute("INSERT INTO lumo_desk(id,title,bh,sort,cid,cname) VALUES(?,?,?,?,0,'')",
                  (n, "桌位%02d" % n, "%02d" % n, n))
    for m in range(1, 31):
        c.execute("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) VALUES(?,?,?,?,?)",
                  (m, "138%08d" % m, "会员%d" % m, 880, 300))

    def lines(order, desk, t, settled):
        total = zk_total = 0.0
        for _ in range(rng.randint(3, 8)):
            d = rng.randint(1, len(DISHES))
            title, price, _cid, zk = DISHES[d - 1]
            q = rng.randint(1, 4) if d >= 21 else rng.randint(1, 2)
            stat = 8 if rng.random() < 0.03 else 3
            c.execute("INSERT INTO lumo_orders_detail(title,oneprice,quantity,price,deskid,"
                      "caipinid,stat,iscal,addtime,rootid) VALUES(?,?,?,?,?,?,?,?,?,?)",
                      (title, price, q, round(price * q, 2), desk, d, stat, settled, t, order))
            if stat != 8:
                total += price * q
                zk_total += price * q if zk else 0
        return round(total, 2), round(zk_total, 2)

    order = 1
    for k in range(120):
        paid = start + 11 * 3600 + int(k * 11 * 3600 / 120) + rng.randint(0, 200)
        desk = 1 + k % 20
        guests = rng.randint(1, 8)
        allprice, zk = lines(order, desk, paid - 3600, 1)
        price, balance, paytype = allprice, 0.0, rng.choice([3, 3, 3, 4, 4, 5, 5, 6, 1, 2])
        r = rng.random()
        if r < 0.12:  # member discount 8.8 on the discountable dishes
            price = round(allprice - zk * 0.12, 2)
        elif r < 0.2:  # rounded down at the counter
            price = float(int(allprice))
        elif r < 0.23:  # service surcharge
            price = round(allprice + 10, 2)
        if rng.random() < 0.1:  # paid from a member's balance, the rest in cash if any
            balance = min(price, 200.0)
            price = round(price - balance, 2)
            paytype = 9 if price == 0 else 5
        c.execute("INSERT INTO lumo_orders(id,title,ordid,deskid,allprice,price,stat,tid,iscal,"
                  "nums,paytype,balance,addtime,paytime,fwy) VALUES(?,?,?,?,?,?,1,0,1,?,?,?,?,?,?)",
                  (order, "订单名称", "%d%06d" % (paid, order), desk, allprice, price, guests,
                   paytype, balance, paid - 3600, paid, "服务员%d" % rng.randint(1, 5)))
        order += 1
    for k in range(8):
        t = start + 10 * 3600 + k * 4000
        amount = rng.choice([200, 300, 500, 1000])
        c.execute("INSERT INTO lumo_orders(id,title,ordid,addtime,stat,paytype,allprice,price,tid) "
                  "VALUES(?,?,?,?,1,?,?,?,1)",
                  (order, "会员充值", "%d%06d" % (t, order), t, rng.choice([3, 4, 5, 6]), amount,
                   amount))
        order += 1
    now = start + 21 * 3600
    for desk in (3, 7, 8, 12, 15, 19):
        guests = rng.randint(2, 6)
        total, _ = lines(order, desk, now - 1800, 0)
        c.execute("INSERT INTO lumo_orders(id,title,ordid,deskid,allprice,price,stat,tid,iscal,"
                  "nums,addtime) VALUES(?,?,?,?,?,?,1,0,0,?,?)",
                  (order, "订单名称", "%d%06d" % (now, order), desk, total, total, guests,
                   now - 1800))
        c.execute("UPDATE lumo_desk set stat=1,nums=?,price=?,addtime=? where id=?",
                  (guests, "%.2f" % total, now - 1800, desk))
        order += 1
    db.commit()


main()
