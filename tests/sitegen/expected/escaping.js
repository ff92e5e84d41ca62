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
function Item(itemid, itemdesc, itemprice, itemquantity,itemman,itemW,wprice,cv){
this.itemid = itemid
this.itemdesc = itemdesc
this.itemprice = itemprice
this.itemquantity = itemquantity
this.itemman = itemman
this.itemW = itemW
this.wprice = wprice
this.cv = cv
 }
Power_x20_ToolsList = new MakeArray( 1)
Power_x20_ToolsList[ 1] = new Item("P\"1","12\" blade, C:\\saw\r\nsecond line<\/b>",19.99,0,"Müller & Söhne","4","15","tab\x09here")

Caf_xe9_List = new MakeArray( 0)


