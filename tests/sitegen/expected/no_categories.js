function MakeArray(n){
this.length = n;
for (var i = 1; i <= n; i++){
this [i] = 0 }
return this }
function moneyFormat(input) {
var total = Math.round(Math.abs(input) * 100)
var sign = (input < 0 && total > 0) ? "-" : ""
var cents = "" + (100 + total % 100)
input = sign + Math.floor(total / 100) + "." + cents.substring(1, 3)
return input }
function Item(itemid, itemdesc, itemprice, itemquantity,itemW,wprice,cv){
this.itemid = itemid
this.itemdesc = itemdesc
this.itemprice = itemprice
this.itemquantity = itemquantity
this.itemW = itemW
this.wprice = wprice
this.cv = cv
 }

