#pragma once
#include "TestWorld.h"

#include "host/geocoder/Gazetteer.h"

namespace tov::test {

// A small gazetteer in the file format: a few ZIP codes and places, with
// names that share spellings across states.
inline const char* SmallGazetteerText() {
  return "kind,name,state,latitude,longitude,population\n"
         "zip,10001,NY,40.750650,-73.997293,\n"
         "zip,10118,NY,40.748441,-73.985664,\n"
         "zip,62701,IL,39.800000,-89.650000,\n"
         "place,New York City,NY,40.714270,-74.005970,8175133\n"
         "place,Brooklyn,NY,40.650100,-73.949580,2300664\n"
         "place,Brooklyn,OH,41.439770,-81.735410,10815\n"
         "place,Brooklyn,IA,41.733610,-92.445460,1468\n"
         "place,Brooklyn Park,MN,45.094130,-93.356340,75781\n"
         "place,Springfield,IL,39.801720,-89.643710,116250\n"
         "place,Springfield,MA,42.101480,-72.589810,153060\n"
         "place,St. Louis,MO,38.627270,-90.197890,319294\n"
         "place,Cañon City,CO,38.440980,-105.242450,16400\n"
         "place,O'Fallon,MO,38.810610,-90.699850,79329\n"
         "place,Kansas City,MO,39.099730,-94.578570,475378\n"
         "place,\"Lexington-Fayette, Urban\",KY,38.049800,-84.458550,295803\n"
         "place,\"Washington, D.C.\",DC,38.895110,-77.036370,601723\n"
         "place,Washington,PA,40.173960,-80.246170,13663\n";
}

} // namespace tov::test
