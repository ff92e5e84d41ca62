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
function Item(itemid, itemdesc, itemprice, itemquantity,descURL,picURL,itemW,wprice,cv){
this.itemid = itemid
this.itemdesc = itemdesc
this.itemprice = itemprice
this.itemquantity = itemquantity
this.descURL = descURL
this.picURL = picURL
this.itemW = itemW
this.wprice = wprice
this.cv = cv
 }
ToolsList = new MakeArray( 2)
ToolsList[ 1] = new Item("T1","Saw",12.5,0,"saw.htm","saw.jpg","3","10","a")
ToolsList[ 2] = new Item("T2","Drill",.5,0,"drill.htm","drill.jpg","1.2","0.4","b")

EmptyList = new MakeArray( 0)

GardenList = new MakeArray( 1)
GardenList[ 1] = new Item("G1","Rake",7,0,"rake.htm","rake.jpg","2","5","c")


