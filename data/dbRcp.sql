CREATE TABLE tblKategorier (KID INTEGER PRIMARY KEY AUTOINCREMENT, Kategori TEXT);
CREATE TABLE tblRecept (RID INTEGER PRIMARY KEY AUTOINCREMENT, Titel TEXT, Kategori INTEGER, AntalPersoner TEXT, Tid TEXT, Ingredienser TEXT, Anvisningar TEXT);
CREATE TABLE tblIngredienser (IID INTEGER PRIMARY KEY AUTOINCREMENT, Ingrediens TEXT);
BEGIN TRANSACTION;

-- Kategorier
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Soppor');
INSERT INTO tblKategorier (KID, Kategori) VALUES (2, 'Kött');
INSERT INTO tblKategorier (KID, Kategori) VALUES (3, 'Fisk och skaldjur');
INSERT INTO tblKategorier (KID, Kategori) VALUES (4, 'Fågel');
INSERT INTO tblKategorier (KID, Kategori) VALUES (5, 'Vegetariskt');
INSERT INTO tblKategorier (KID, Kategori) VALUES (6, 'Pasta och ris');
INSERT INTO tblKategorier (KID, Kategori) VALUES (7, 'Bröd');
INSERT INTO tblKategorier (KID, Kategori) VALUES (8, 'Kakor och småkakor');
INSERT INTO tblKategorier (KID, Kategori) VALUES (9, 'Tårtor och desserter');
INSERT INTO tblKategorier (KID, Kategori) VALUES (10, 'Såser');
INSERT INTO tblKategorier (KID, Kategori) VALUES (11, 'Sallader');
INSERT INTO tblKategorier (KID, Kategori) VALUES (12, 'Frukost');
INSERT INTO tblKategorier (KID, Kategori) VALUES (13, 'Drycker');
INSERT INTO tblKategorier (KID, Kategori) VALUES (14, 'Inläggningar');

-- Recept: ingredienser en per rad, stycken och rader skilda med CR LF
INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (1, 'Ärtsoppa', 1, '4-6', '2 tim 30 min',
  '5 dl torkade gula ärtor' || char(13,10) ||
  '2 liter vatten' || char(13,10) ||
  '1 gul lök' || char(13,10) ||
  '500 g rimmat sidfläsk eller 1 rimmad fläsklägg' || char(13,10) ||
  '1 tsk torkad timjan' || char(13,10) ||
  '1 tsk torkad mejram' || char(13,10) ||
  'salt' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'senap',
  'Skölj ärtorna och lägg dem i blöt i rikligt med kallt vatten över natten.' || char(13,10) ||
  'Häll av blötläggningsvattnet. Koka upp ärtorna i 2 liter nytt vatten och skumma noga. Skala och hacka löken och lägg ner den tillsammans med fläsket.' || char(13,10) ||
  'Låt soppan sjuda under lock i ungefär 2 timmar, tills ärtorna är mjuka. Rör om då och då så att den inte bränner fast i botten.' || char(13,10) ||
  'Ta upp fläsket, skär det i bitar och lägg tillbaka det i soppan. Krydda med timjan, mejram och salt. Servera med senap, och gärna med pannkakor efteråt som man gör på torsdagar.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (2, 'Köttsoppa med rotfrukter', 1, '4', '2 tim',
  '800 g högrev eller bog av nöt' || char(13,10) ||
  '2 liter vatten' || char(13,10) ||
  '1 msk salt' || char(13,10) ||
  '10 vitpepparkorn' || char(13,10) ||
  '5 kryddpepparkorn' || char(13,10) ||
  '2 lagerblad' || char(13,10) ||
  '4 morötter' || char(13,10) ||
  '1 bit rotselleri' || char(13,10) ||
  '2 palsternackor' || char(13,10) ||
  '1 purjolök' || char(13,10) ||
  '6 potatisar' || char(13,10) ||
  '1 knippe persilja',
  'Lägg köttet i en gryta och häll på så mycket kallt vatten att det täcks. Koka upp och skumma bort det grå skummet.' || char(13,10) ||
  'Tillsätt salt, pepparkorn och lagerblad. Låt köttet sjuda under lock i ungefär 1 1/2 timme, tills det är mört.' || char(13,10) ||
  'Skala rotfrukterna och potatisen och skär dem i bitar. Ansa och skiva purjolöken. Lägg ner grönsakerna och låt soppan koka ytterligare 20 minuter.' || char(13,10) ||
  'Ta upp köttet, skär det i tärningar och lägg tillbaka det. Smaka av med salt och strö över hackad persilja när soppan serveras.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (3, 'Köttbullar med gräddsås', 2, '4', '45 min',
  'Köttbullar:' || char(13,10) ||
  '500 g blandfärs' || char(13,10) ||
  '1/2 dl ströbröd' || char(13,10) ||
  '1 1/2 dl mjölk' || char(13,10) ||
  '1 ägg' || char(13,10) ||
  '1 liten gul lök' || char(13,10) ||
  '1 tsk salt' || char(13,10) ||
  '1 krm vitpeppar' || char(13,10) ||
  'smör till stekning' || char(13,10) ||
  'Sås:' || char(13,10) ||
  '2 dl köttbuljong' || char(13,10) ||
  'c:a 1 dl grädde' || char(13,10) ||
  '1 msk vetemjöl' || char(13,10) ||
  '1 tsk kinesisk soja' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'kokt potatis' || char(13,10) ||
  'lingonsylt',
  'Blanda ströbröd och mjölk i en bunke och låt det svälla i 10 minuter. Finhacka löken och fräs den mjuk i lite smör.' || char(13,10) ||
  'Rör ner färs, ägg, lök, salt och peppar i ströbrödsblandningen och arbeta till en jämn smet. Forma små bullar med fuktade händer.' || char(13,10) ||
  'Bryn köttbullarna i smör i omgångar på medelvärme tills de är genomstekta, ungefär 8 minuter. Lägg dem åt sidan.' || char(13,10) ||
  'Vispa ner mjölet i stekfettet, späd med buljong och grädde och låt såsen koka några minuter. Smaka av med soja, salt och peppar.' || char(13,10) ||
  'Servera köttbullarna med kokt potatis, såsen och lingonsylt.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (4, 'Farmor Annas kåldolmar', 2, '4-6', '2 tim',
  '1 vitkålshuvud, ca 1,5 kg' || char(13,10) ||
  'Fyllning:' || char(13,10) ||
  '1 dl grötris' || char(13,10) ||
  '2 dl vatten' || char(13,10) ||
  '500 g blandfärs' || char(13,10) ||
  '1 ägg' || char(13,10) ||
  '1 dl mjölk' || char(13,10) ||
  '1 tsk salt' || char(13,10) ||
  '1/2 tsk vitpeppar' || char(13,10) ||
  'Till stekning:' || char(13,10) ||
  '2 msk smör' || char(13,10) ||
  '2 msk ljus sirap' || char(13,10) ||
  'Sås:' || char(13,10) ||
  '3 dl köttbuljong' || char(13,10) ||
  '1 dl grädde' || char(13,10) ||
  '1 msk maizena',
  'Koka riset i vattnet tills det är mjukt och låt det kallna.' || char(13,10) ||
  'Skär ut stocken ur kålhuvudet. Förväll huvudet i lättsaltat vatten och lossa bladen efter hand som de mjuknar. Skär bort det tjockaste av mittnerven.' || char(13,10) ||
  'Blanda färs, ris, ägg, mjölk, salt och peppar. Lägg en klick fyllning på varje blad, vik in kanterna och rulla ihop till små paket.' || char(13,10) ||
  'Sätt ugnen på 200 grader. Bryn dolmarna i smör i en stekpanna och ringla över sirapen. Lägg dem i en ugnsform.' || char(13,10) ||
  'Häll buljongen i stekpannan, koka upp och slå skyn över dolmarna. Låt dem stå i ugnen i ungefär 1 timme och ös dem med skyn då och då.' || char(13,10) ||
  'Sila av skyn, red den med maizena utrörd i grädden och låt koka upp. Farmor serverade alltid kåldolmarna med kokt potatis och lingonsylt.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (5, 'Raggmunk med stekt fläsk', 2, '4', '40 min',
  'Raggmunk:' || char(13,10) ||
  '3 dl vetemjöl' || char(13,10) ||
  '6 dl mjölk' || char(13,10) ||
  '2 ägg' || char(13,10) ||
  '1 tsk salt' || char(13,10) ||
  '1 kg fast potatis' || char(13,10) ||
  'smör till stekning' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  '400 g rimmat sidfläsk i skivor' || char(13,10) ||
  'lingonsylt',
  'Vispa mjölet med hälften av mjölken till en slät smet. Vispa ner resten av mjölken, äggen och saltet.' || char(13,10) ||
  'Skala och riv potatisen grovt precis innan stekningen, så att den inte hinner mörkna. Blanda ner den i smeten.' || char(13,10) ||
  'Stek fläskskivorna knapriga i en torr stekpanna och håll dem varma.' || char(13,10) ||
  'Stek tunna raggmunkar i smör, ungefär en halv deciliter smet åt gången, tills de är gyllenbruna och krispiga på båda sidor. Servera genast med fläsket och lingonsylt.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (6, 'Lars'' pytt i panna', 2, '4', '40 min',
  '8 kokta potatisar' || char(13,10) ||
  '1 gul lök' || char(13,10) ||
  '400 g rester av stek, kokt skinka eller korv' || char(13,10) ||
  '2 msk smör' || char(13,10) ||
  'salt' || char(13,10) ||
  'svartpeppar' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  '4 ägg' || char(13,10) ||
  'inlagda rödbetor' || char(13,10) ||
  'hackad persilja',
  'Skär potatis och kött i små jämna tärningar, ungefär 1 cm stora. Skala och hacka löken.' || char(13,10) ||
  'Stek potatisen i smör i en stor stekpanna tills den fått fin färg runt om. Skjut den åt sidan.' || char(13,10) ||
  'Stek löken mjuk, lägg i köttet och låt det bli genomvarmt. Blanda alltihop och smaka av med salt och peppar.' || char(13,10) ||
  'Lars knep är att låta pytten ligga orörd de sista minuterna så att den blir knaprig undertill.' || char(13,10) ||
  'Stek äggen och servera pytten med ett stekt ägg, rödbetor och persilja.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (7, 'Biff à la Lindström', 2, '4', '30 min',
  '500 g nötfärs' || char(13,10) ||
  '1 ägg' || char(13,10) ||
  '1 dl grädde eller mjölk' || char(13,10) ||
  '1 dl finhackade inlagda rödbetor' || char(13,10) ||
  '1 msk hackad kapris' || char(13,10) ||
  '1 liten gul lök' || char(13,10) ||
  '1 tsk salt' || char(13,10) ||
  '1/2 tsk svartpeppar' || char(13,10) ||
  'smör till stekning',
  'Blanda färs, ägg och grädde till en smidig smet. Finhacka löken.' || char(13,10) ||
  'Vänd ner rödbetor, kapris och lök i färsen och krydda med salt och peppar.' || char(13,10) ||
  'Forma fyra stora eller åtta små biffar med fuktade händer.' || char(13,10) ||
  'Stek biffarna i smör på medelvärme, 3-4 minuter per sida. Servera med kokt eller stekt potatis och en grönsallad.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (8, 'Laxpudding', 3, '4', '1 tim 15 min',
  '1 kg fast potatis' || char(13,10) ||
  '400 g gravad eller rökt lax i skivor' || char(13,10) ||
  '2 gula lökar' || char(13,10) ||
  '1 knippe dill' || char(13,10) ||
  'smör till formen' || char(13,10) ||
  'Äggstanning:' || char(13,10) ||
  '4 ägg' || char(13,10) ||
  '5 dl mjölk' || char(13,10) ||
  '1/2 tsk salt' || char(13,10) ||
  '1 krm vitpeppar' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'skirat smör',
  'Koka potatisen nästan mjuk, låt den svalna och skär den i skivor.' || char(13,10) ||
  'Sätt ugnen på 200 grader. Skala och skiva löken och fräs den mjuk i lite smör. Hacka dillen.' || char(13,10) ||
  'Smörj en ugnsform. Varva potatis, lax, lök och dill. Börja och sluta med potatis.' || char(13,10) ||
  'Vispa ihop ägg, mjölk, salt och peppar och häll över. Grädda mitt i ugnen i ungefär 45 minuter, tills äggstanningen har stelnat och ytan fått färg.' || char(13,10) ||
  'Servera laxpuddingen med skirat smör.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (9, 'Gravad lax med hovmästarsås', 3, '8-10', NULL,
  '1 kg laxfilé med skinn, gärna en mittbit' || char(13,10) ||
  '3 msk strösocker' || char(13,10) ||
  '2 msk grovt salt' || char(13,10) ||
  '1 tsk krossad vitpeppar' || char(13,10) ||
  '1 stor knippe dill' || char(13,10) ||
  'Sås:' || char(13,10) ||
  '3 msk söt senap' || char(13,10) ||
  '1 msk strösocker' || char(13,10) ||
  '1 msk vinäger' || char(13,10) ||
  '1 dl rapsolja' || char(13,10) ||
  '1/2 dl hackad dill' || char(13,10) ||
  'salt' || char(13,10) ||
  'vitpeppar',
  'Dra ut eventuella ben ur laxen med en pincett. Skär filén i två lika stora bitar.' || char(13,10) ||
  'Blanda socker, salt och peppar. Strö hälften av blandningen över köttsidan på den ena biten, lägg på grovhackad dill och strö över resten. Lägg den andra biten ovanpå med skinnsidan upp.' || char(13,10) ||
  'Slå in laxen i plastfolie och lägg den i en form i kylskåpet. Låt den gravas i 2-3 dygn och vänd paketet en gång om dagen.' || char(13,10) ||
  'Sås: Vispa ihop senap, socker och vinäger. Tillsätt oljan i en tunn stråle under vispning. Rör ner dillen och smaka av med salt och peppar.' || char(13,10) ||
  'Skrapa bort kryddorna och skär laxen i tunna skivor snett mot skinnet. Servera med hovmästarsåsen och färskpotatis eller rostat bröd.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (10, 'Janssons frestelse', 3, '4-6', '1 tim',
  '1 kg fast potatis' || char(13,10) ||
  '2 gula lökar' || char(13,10) ||
  '2 burkar ansjovis, à 125 g' || char(13,10) ||
  '3 dl vispgrädde' || char(13,10) ||
  '1 dl mjölk' || char(13,10) ||
  '2 msk ströbröd' || char(13,10) ||
  '2 msk smör',
  'Sätt ugnen på 225 grader. Skala potatisen och skär den i tunna stavar. Skala och skiva löken och fräs den mjuk i lite smör utan att den tar färg.' || char(13,10) ||
  'Smörj en ugnsform. Lägg i hälften av potatisen, sedan lök och ansjovis, och täck med resten av potatisen.' || char(13,10) ||
  'Häll över lite av spadet från ansjovisburkarna och sedan grädde och mjölk. Strö över ströbröd och klicka ut smöret.' || char(13,10) ||
  'Gratinera mitt i ugnen i ungefär 50 minuter, tills potatisen är mjuk och ytan gyllenbrun. Täck formen med folie om den mörknar för fort.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (11, 'Fiskgratäng med räkor och dill', 3, '4', '50 min',
  'Potatismos:' || char(13,10) ||
  '1 kg mjölig potatis' || char(13,10) ||
  '2 dl mjölk' || char(13,10) ||
  '2 msk smör' || char(13,10) ||
  '1 äggula' || char(13,10) ||
  'salt' || char(13,10) ||
  'Fisk:' || char(13,10) ||
  '600 g torsk- eller sejfilé' || char(13,10) ||
  '1 tsk salt' || char(13,10) ||
  '2 dl vispgrädde' || char(13,10) ||
  '1 dl fiskbuljong' || char(13,10) ||
  '1 msk vetemjöl' || char(13,10) ||
  '1 msk citronsaft' || char(13,10) ||
  'Garnering:' || char(13,10) ||
  '200 g skalade räkor' || char(13,10) ||
  '1/2 knippe dill',
  'Sätt ugnen på 225 grader. Koka potatisen mjuk, häll av och mosa den med varm mjölk och smör. Rör ner äggulan och smaka av med salt.' || char(13,10) ||
  'Lägg fiskfiléerna i en smord ugnsform och salta dem.' || char(13,10) ||
  'Vispa ut mjölet i grädden och buljongen och koka upp under omrörning. Smaka av med citronsaft och häll såsen över fisken.' || char(13,10) ||
  'Spritsa eller klicka moset runt kanten på formen. Gratinera mitt i ugnen i 20-25 minuter, tills fisken är genomkokt och moset fått färg.' || char(13,10) ||
  'Garnera med räkor och hackad dill precis före serveringen.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (12, 'Stekt strömming', 3, '4', '30 min',
  '800 g strömmingsfiléer' || char(13,10) ||
  '1 tsk salt' || char(13,10) ||
  '1 krm vitpeppar' || char(13,10) ||
  '1 knippe dill' || char(13,10) ||
  '1 dl rågmjöl' || char(13,10) ||
  'smör till stekning' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'potatismos' || char(13,10) ||
  'lingonsylt',
  'Skölj filéerna och låt dem rinna av. Lägg hälften av dem med skinnsidan ner på en skärbräda, salta, peppra och strö över hackad dill.' || char(13,10) ||
  'Lägg resten av filéerna ovanpå med skinnsidan upp, så att det blir små flundror. Vänd flundrorna i rågmjöl.' || char(13,10) ||
  'Stek strömmingen i rikligt med smör, 2-3 minuter per sida, tills den är gyllenbrun.' || char(13,10) ||
  'Servera med potatismos och lingonsylt.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (13, 'Kycklinggryta med curry och äpple', 4, '4', '40 min',
  '600 g kycklingfilé' || char(13,10) ||
  '1 gul lök' || char(13,10) ||
  '1 syrligt äpple' || char(13,10) ||
  '2 tsk curry' || char(13,10) ||
  '1 msk smör' || char(13,10) ||
  '2 dl kycklingbuljong' || char(13,10) ||
  '2 dl matlagningsgrädde' || char(13,10) ||
  '1 msk mangochutney' || char(13,10) ||
  'salt' || char(13,10) ||
  'svartpeppar' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'kokt ris',
  'Skär kycklingen i bitar. Skala och hacka löken. Kärna ur äpplet och skär det i små tärningar.' || char(13,10) ||
  'Bryn kycklingen i smör i en gryta. Lägg i lök och curry och fräs några minuter så att kryddan får dofta.' || char(13,10) ||
  'Häll på buljong och grädde, lägg i äpplet och låt grytan puttra under lock i ungefär 15 minuter.' || char(13,10) ||
  'Smaka av med chutney, salt och peppar. Servera med ris.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (14, 'Ugnsstekt kyckling med rotfrukter', 4, '4', '1 tim 15 min',
  '1 hel kyckling, ca 1,2 kg' || char(13,10) ||
  '1 citron' || char(13,10) ||
  '4 vitlöksklyftor' || char(13,10) ||
  '1 msk torkad timjan' || char(13,10) ||
  '2 msk olivolja' || char(13,10) ||
  'salt' || char(13,10) ||
  'svartpeppar' || char(13,10) ||
  'Rotfrukter:' || char(13,10) ||
  '6 potatisar' || char(13,10) ||
  '3 morötter' || char(13,10) ||
  '2 palsternackor' || char(13,10) ||
  '2 rödlökar',
  'Sätt ugnen på 200 grader. Skala rotfrukterna och skär dem i stora bitar. Dela rödlökarna i klyftor. Lägg alltihop i en långpanna och blanda med hälften av oljan, salt och peppar.' || char(13,10) ||
  'Dela citronen och stoppa in den tillsammans med vitlöken i kycklingen. Pensla kycklingen med resten av oljan och gnid in timjan, salt och peppar.' || char(13,10) ||
  'Lägg kycklingen ovanpå rotfrukterna och stek den mitt i ugnen i ungefär 1 timme. Den är klar när köttsaften är klar och inte rosa när du sticker i låret.' || char(13,10) ||
  'Låt kycklingen vila i 10 minuter innan den styckas.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (15, 'Ostpaj med purjolök', 5, '4-6', '1 tim',
  'Pajdeg:' || char(13,10) ||
  '3 dl vetemjöl' || char(13,10) ||
  '125 g smör' || char(13,10) ||
  '2 msk kallt vatten' || char(13,10) ||
  'Fyllning:' || char(13,10) ||
  '1 purjolök' || char(13,10) ||
  '1 msk smör' || char(13,10) ||
  '3 ägg' || char(13,10) ||
  '3 dl mjölk' || char(13,10) ||
  '2 dl riven lagrad ost' || char(13,10) ||
  '1/2 tsk salt' || char(13,10) ||
  '1 krm svartpeppar',
  'Nyp ihop mjöl och smör till en smulig massa. Tillsätt vattnet och arbeta snabbt ihop till en deg. Låt den vila i kylskåpet i 30 minuter.' || char(13,10) ||
  'Sätt ugnen på 200 grader. Tryck ut degen i en pajform och nagga botten med en gaffel. Förgrädda pajskalet i 10 minuter.' || char(13,10) ||
  'Skiva purjolöken tunt och fräs den mjuk i smör. Vispa ihop ägg, mjölk, ost, salt och peppar.' || char(13,10) ||
  'Fördela purjolöken i pajskalet och häll över äggstanningen. Grädda pajen i nedre delen av ugnen i ungefär 30 minuter, tills fyllningen har stelnat.' || char(13,10) ||
  'Servera pajen ljummen med en grön sallad.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (16, 'Morotsbiffar med fetaost', 5, '4', '40 min',
  '500 g morötter' || char(13,10) ||
  '1 gul lök' || char(13,10) ||
  '1 vitlöksklyfta' || char(13,10) ||
  '2 ägg' || char(13,10) ||
  '1 dl havregryn' || char(13,10) ||
  '1 dl ströbröd' || char(13,10) ||
  '150 g fetaost' || char(13,10) ||
  '1 tsk spiskummin' || char(13,10) ||
  '1/2 tsk salt' || char(13,10) ||
  'rapsolja till stekning' || char(13,10) ||
  'Yoghurtsås:' || char(13,10) ||
  '2 dl turkisk yoghurt' || char(13,10) ||
  '1/2 gurka' || char(13,10) ||
  'salt',
  'Skala och riv morötterna fint. Hacka löken och vitlöken.' || char(13,10) ||
  'Blanda morot, lök, vitlök, ägg, havregryn och ströbröd. Smula ner fetaosten och krydda med spiskummin och salt. Låt smeten vila i 10 minuter så att grynen sväller.' || char(13,10) ||
  'Forma biffar och stek dem i olja på medelvärme, ungefär 4 minuter per sida.' || char(13,10) ||
  'Riv gurkan, krama ur vätskan och blanda med yoghurten. Salta. Servera biffarna med såsen och kokt potatis eller bulgur.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (17, 'Köttfärssås med spagetti', 6, '4', '45 min',
  '500 g nötfärs' || char(13,10) ||
  '1 gul lök' || char(13,10) ||
  '2 vitlöksklyftor' || char(13,10) ||
  '1 morot' || char(13,10) ||
  '1 msk olivolja' || char(13,10) ||
  '1 burk krossade tomater, 400 g' || char(13,10) ||
  '2 msk tomatpuré' || char(13,10) ||
  '1 dl vatten' || char(13,10) ||
  '1 tsk torkad oregano' || char(13,10) ||
  '1 tsk torkad basilika' || char(13,10) ||
  '1 tsk salt' || char(13,10) ||
  '1/2 tsk svartpeppar' || char(13,10) ||
  '400 g spagetti' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'riven parmesan',
  'Hacka lök och vitlök fint och riv moroten. Fräs alltihop mjukt i olivoljan i en gryta.' || char(13,10) ||
  'Lägg i färsen och bryn den under omrörning tills den är smulig och har fått färg.' || char(13,10) ||
  'Rör ner tomatpuré, krossade tomater, vatten och kryddor. Låt såsen puttra under lock i minst 20 minuter, gärna längre.' || char(13,10) ||
  'Koka spagettin enligt anvisningen på förpackningen. Servera med såsen och riven parmesan.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (18, 'Kanelbullar', 7, NULL, '2 tim 30 min',
  'Deg:' || char(13,10) ||
  '50 g jäst' || char(13,10) ||
  '5 dl mjölk' || char(13,10) ||
  '150 g smör' || char(13,10) ||
  '1 dl strösocker' || char(13,10) ||
  '1/2 tsk salt' || char(13,10) ||
  '2 tsk stött kardemumma' || char(13,10) ||
  'ca 14 dl vetemjöl' || char(13,10) ||
  'Fyllning:' || char(13,10) ||
  '100 g rumsvarmt smör' || char(13,10) ||
  '1/2 dl strösocker' || char(13,10) ||
  '1 msk kanel' || char(13,10) ||
  'Pensling:' || char(13,10) ||
  '1 ägg' || char(13,10) ||
  'pärlsocker',
  'Smula jästen i en bunke. Smält smöret, häll i mjölken och värm till fingervarmt, 37 grader. Häll degspadet över jästen och rör tills den har löst sig.' || char(13,10) ||
  'Tillsätt socker, salt, kardemumma och det mesta av mjölet. Arbeta degen smidig i ungefär 5 minuter och låt den jäsa under bakduk i 40 minuter.' || char(13,10) ||
  'Rör ihop smör, socker och kanel till fyllningen.' || char(13,10) ||
  'Dela degen i två delar. Kavla ut varje del till en rektangel, bred på fyllningen och rulla ihop från långsidan. Skär rullen i ungefär 15 bitar och lägg dem i pappersformar på plåt. Låt bullarna jäsa under bakduk i 30 minuter.' || char(13,10) ||
  'Sätt ugnen på 225 grader. Pensla bullarna med uppvispat ägg och strö över pärlsocker. Grädda mitt i ugnen i 8-10 minuter och låt dem svalna på galler.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (19, 'Kladdkaka', 8, '8', '40 min',
  '100 g smör' || char(13,10) ||
  '2 ägg' || char(13,10) ||
  '2 1/2 dl strösocker' || char(13,10) ||
  '1 1/2 dl vetemjöl' || char(13,10) ||
  '4 msk kakao' || char(13,10) ||
  '1 tsk vaniljsocker' || char(13,10) ||
  '1 krm salt' || char(13,10) ||
  'Till formen:' || char(13,10) ||
  'smör och ströbröd' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'vispad grädde',
  'Sätt ugnen på 175 grader. Smörj en springform, ca 22 cm i diameter, och bröa den med ströbröd.' || char(13,10) ||
  'Smält smöret i en kastrull och låt det svalna något.' || char(13,10) ||
  'Rör ihop ägg och socker, men vispa inte. Blanda mjöl, kakao, vaniljsocker och salt och rör ner det i äggsmeten tillsammans med smöret.' || char(13,10) ||
  'Häll smeten i formen och grädda mitt i ugnen i 15-18 minuter. Kakan ska vara kladdig i mitten.' || char(13,10) ||
  'Låt kakan svalna i formen. Servera med vispad grädde och gärna färska bär.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (20, 'Hallongrottor', 8, NULL, '40 min',
  '200 g rumsvarmt smör' || char(13,10) ||
  '1 dl strösocker' || char(13,10) ||
  '1 tsk vaniljsocker' || char(13,10) ||
  '4 1/2 dl vetemjöl' || char(13,10) ||
  '1 tsk bakpulver' || char(13,10) ||
  'ca 1 dl hallonsylt',
  'Sätt ugnen på 200 grader. Rör smör, socker och vaniljsocker pösigt.' || char(13,10) ||
  'Blanda mjöl och bakpulver och arbeta snabbt ihop det med smörblandningen till en deg.' || char(13,10) ||
  'Rulla degen till en längd och dela den i ungefär 30 bitar. Rulla bitarna till kulor och lägg dem i små pappersformar på en plåt.' || char(13,10) ||
  'Gör en grop i varje kula med tummen och fyll den med lite sylt.' || char(13,10) ||
  'Grädda mitt i ugnen i 12-15 minuter, tills kakorna har fått lite färg. Låt dem kallna på plåten.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (21, 'Äppelkaka med vaniljsås', 9, '6', '1 tim',
  'Äppelkaka:' || char(13,10) ||
  '6 syrliga äpplen' || char(13,10) ||
  '2 msk strösocker' || char(13,10) ||
  '1 tsk kanel' || char(13,10) ||
  '150 g smör' || char(13,10) ||
  '2 ägg' || char(13,10) ||
  '2 dl strösocker' || char(13,10) ||
  '2 dl vetemjöl' || char(13,10) ||
  '1 tsk bakpulver' || char(13,10) ||
  'Vaniljsås:' || char(13,10) ||
  '3 dl mjölk' || char(13,10) ||
  '3 äggulor' || char(13,10) ||
  '2 msk strösocker' || char(13,10) ||
  '1 msk maizena' || char(13,10) ||
  '1 vaniljstång' || char(13,10) ||
  '2 dl vispgrädde',
  'Sätt ugnen på 175 grader. Skala, kärna ur och skiva äpplena. Lägg dem i en smord ugnsform och strö över socker och kanel.' || char(13,10) ||
  'Smält smöret. Vispa ägg och socker pösigt och rör ner mjöl, bakpulver och det smälta smöret. Bred smeten över äpplena.' || char(13,10) ||
  'Grädda mitt i ugnen i ungefär 35 minuter, tills ytan är gyllene och en provsticka kommer ut torr.' || char(13,10) ||
  'Vaniljsås: Dela vaniljstången på längden och skrapa ur fröna. Vispa ihop mjölk, äggulor, socker, maizena och vaniljfrön i en kastrull. Värm under ständig vispning tills såsen tjocknar, men låt den inte koka. Låt den kallna och vänd sedan ner den lättvispade grädden.' || char(13,10) ||
  'Servera äppelkakan ljummen med den kalla vaniljsåsen.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (22, 'Mormors ''kalaskaka''', 9, '10-12', NULL,
  'Tårtbotten:' || char(13,10) ||
  '4 ägg' || char(13,10) ||
  '2 dl strösocker' || char(13,10) ||
  '1 dl vetemjöl' || char(13,10) ||
  '1 dl potatismjöl' || char(13,10) ||
  '2 tsk bakpulver' || char(13,10) ||
  'Fyllning:' || char(13,10) ||
  '3 dl vaniljkräm' || char(13,10) ||
  '500 g jordgubbar' || char(13,10) ||
  'Garnering:' || char(13,10) ||
  '4 dl vispgrädde' || char(13,10) ||
  'färska jordgubbar',
  'Sätt ugnen på 175 grader. Smörj och bröa en springform, ca 24 cm i diameter.' || char(13,10) ||
  'Vispa ägg och socker riktigt pösigt, i minst 5 minuter. Blanda mjöl, potatismjöl och bakpulver och sikta ner i äggsmeten. Vänd försiktigt ihop.' || char(13,10) ||
  'Häll smeten i formen och grädda i nedre delen av ugnen i ungefär 40 minuter. Låt bottnen svalna helt och dela den sedan i tre skivor.' || char(13,10) ||
  'Skiva jordgubbarna. Lägg den första bottnen på ett fat, bred på vaniljkräm och lägg på jordgubbar. Gör likadant med nästa botten och avsluta med den tredje.' || char(13,10) ||
  'Vispa grädden och bred den runt hela tårtan. Garnera med hela jordgubbar.' || char(13,10) ||
  'Mormor sa alltid att kalaskakan blir bäst om den får stå i kylskåpet några timmar innan gästerna kommer.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (23, 'Ris à la Malta', 9, '6', '1 tim',
  '1 dl grötris' || char(13,10) ||
  '2 dl vatten' || char(13,10) ||
  '5 dl mjölk' || char(13,10) ||
  '1 krm salt' || char(13,10) ||
  '1 msk strösocker' || char(13,10) ||
  '1 tsk vaniljsocker' || char(13,10) ||
  '2 dl vispgrädde' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  '2 apelsiner',
  'Koka upp vatten och ris och låt det koka tills vattnet nästan är borta, ungefär 10 minuter.' || char(13,10) ||
  'Tillsätt mjölk och salt och låt gröten sjuda under lock på svag värme i 40 minuter. Rör om då och då.' || char(13,10) ||
  'Låt gröten kallna helt, gärna över natten i kylskåpet. Smaka av med socker och vaniljsocker.' || char(13,10) ||
  'Vispa grädden lätt och vänd ner den i gröten.' || char(13,10) ||
  'Skala apelsinerna, skär dem i bitar och servera dem till riset. Det går också bra med en saftsås.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (24, 'Brunsås', 10, NULL, '15 min',
  '2 msk smör' || char(13,10) ||
  '2 msk vetemjöl' || char(13,10) ||
  '4 dl köttbuljong eller stekskyn' || char(13,10) ||
  '1 dl grädde' || char(13,10) ||
  '1 tsk kinesisk soja' || char(13,10) ||
  'salt' || char(13,10) ||
  'svartpeppar',
  'Smält smöret i en kastrull och vispa ner mjölet. Låt det fräsa under omrörning tills det blir nötbrunt, men se upp så att det inte bränns.' || char(13,10) ||
  'Späd med buljongen lite i taget under kraftig vispning så att det inte blir klumpar.' || char(13,10) ||
  'Låt såsen koka sakta i 5 minuter. Tillsätt grädden och smaka av med soja, salt och peppar.' || char(13,10) ||
  'Brunsåsen passar till köttbullar, pannbiff och stekt lever.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (25, 'Rödbetssallad', 11, '4-6', '20 min',
  '4 kokta rödbetor eller 1 burk inlagda rödbetor' || char(13,10) ||
  '1 äpple' || char(13,10) ||
  '1 liten gul lök' || char(13,10) ||
  '1 dl majonnäs' || char(13,10) ||
  '1 dl gräddfil' || char(13,10) ||
  '1 tsk senap' || char(13,10) ||
  'salt' || char(13,10) ||
  'vitpeppar',
  'Skär rödbetorna, äpplet och den skalade löken i små tärningar.' || char(13,10) ||
  'Rör ihop majonnäs, gräddfil och senap. Vänd ner rödbetor, äpple och lök.' || char(13,10) ||
  'Smaka av med salt och peppar och låt salladen stå kallt minst en timme så att smakerna hinner sätta sig.' || char(13,10) ||
  'Salladen passar till julbordet, till köttbullar och till pytt i panna.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (26, 'Pannkakor', 12, '4', '30 min',
  '3 dl vetemjöl' || char(13,10) ||
  '6 dl mjölk' || char(13,10) ||
  '3 ägg' || char(13,10) ||
  '1/2 tsk salt' || char(13,10) ||
  '2 msk smält smör' || char(13,10) ||
  'smör till stekning' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'sylt' || char(13,10) ||
  'vispad grädde',
  'Vispa mjölet med hälften av mjölken till en slät smet. Vispa ner resten av mjölken, äggen och saltet. Rör sist ner det smälta smöret.' || char(13,10) ||
  'Låt smeten vila en stund om du har tid, gärna en halvtimme.' || char(13,10) ||
  'Hetta upp en stekpanna med lite smör. Häll i ett tunt lager smet och vicka pannan så att botten täcks. Stek tills undersidan har fått färg, vänd och stek den andra sidan.' || char(13,10) ||
  'Servera pannkakorna med sylt och vispad grädde, eller efter en tallrik ärtsoppa.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (27, 'Havregrynsgröt', 12, '2', '10 min',
  '2 1/2 dl havregryn' || char(13,10) ||
  '5 dl vatten' || char(13,10) ||
  '1 krm salt' || char(13,10) ||
  'Till servering:' || char(13,10) ||
  'mjölk' || char(13,10) ||
  'äppelmos eller lingonsylt' || char(13,10) ||
  'kanel',
  'Koka upp vatten och salt. Rör ner havregrynen och låt gröten koka under omrörning i 3-5 minuter.' || char(13,10) ||
  'Dra kastrullen från värmen och låt gröten stå en minut. Den ska vara krämig men inte för fast; späd med lite vatten om den blir för tjock.' || char(13,10) ||
  'Servera gröten med kall mjölk och äppelmos eller lingonsylt. Strö över en nypa kanel om du vill.');

INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES (28, 'Inlagd sill', 14, NULL, NULL,
  'Lag:' || char(13,10) ||
  '1 dl ättiksprit, 12 %' || char(13,10) ||
  '2 dl strösocker' || char(13,10) ||
  '3 dl vatten' || char(13,10) ||
  'Sill:' || char(13,10) ||
  '4 saltade sillfiléer' || char(13,10) ||
  '1 rödlök' || char(13,10) ||
  '1 morot' || char(13,10) ||
  '10 kryddpepparkorn' || char(13,10) ||
  '2 lagerblad',
  'Lägg sillfiléerna i kallt vatten i kylskåpet i ungefär 12 timmar så att saltet dras ur. Byt vatten några gånger.' || char(13,10) ||
  'Koka upp ättiksprit, socker och vatten och rör tills sockret har löst sig. Låt lagen kallna helt.' || char(13,10) ||
  'Skär sillen i bitar, ungefär 2 cm breda. Skala och skiva rödlöken och moroten tunt.' || char(13,10) ||
  'Varva sill, lök, morot, kryddpeppar och lagerblad i en ren glasburk. Häll över lagen så att allt täcks.' || char(13,10) ||
  'Låt sillen stå i kylskåpet minst ett dygn innan den serveras. Den håller ungefär en vecka i kylan.');

-- Ingredienser att välja bland
INSERT INTO tblIngredienser (Ingrediens) VALUES
  ('vetemjöl'),
  ('rågmjöl'),
  ('grahamsmjöl'),
  ('dinkelmjöl'),
  ('potatismjöl'),
  ('maizena'),
  ('havregryn'),
  ('rågflingor'),
  ('ströbröd'),
  ('bakpulver'),
  ('bikarbonat'),
  ('jäst'),
  ('torrjäst'),
  ('strösocker'),
  ('farinsocker'),
  ('pärlsocker'),
  ('florsocker'),
  ('vaniljsocker'),
  ('ljus sirap'),
  ('mörk sirap'),
  ('honung'),
  ('kakao'),
  ('mörk choklad'),
  ('mjölkchoklad'),
  ('sötmandel'),
  ('mandelmassa'),
  ('hasselnötter'),
  ('valnötter'),
  ('russin'),
  ('kokosflingor'),
  ('smör'),
  ('margarin'),
  ('mjölk'),
  ('grädde'),
  ('vispgrädde'),
  ('matlagningsgrädde'),
  ('gräddfil'),
  ('crème fraiche'),
  ('filmjölk'),
  ('yoghurt'),
  ('turkisk yoghurt'),
  ('kvarg'),
  ('keso'),
  ('ägg'),
  ('äggula'),
  ('äggvita'),
  ('ost'),
  ('lagrad ost'),
  ('parmesan'),
  ('fetaost'),
  ('mozzarella'),
  ('färskost'),
  ('salt'),
  ('grovt salt'),
  ('vitpeppar'),
  ('svartpeppar'),
  ('kryddpeppar'),
  ('vitpepparkorn'),
  ('kryddpepparkorn'),
  ('lagerblad'),
  ('timjan'),
  ('mejram'),
  ('oregano'),
  ('basilika'),
  ('rosmarin'),
  ('persilja'),
  ('dill'),
  ('gräslök'),
  ('koriander'),
  ('kanel'),
  ('kardemumma'),
  ('ingefära'),
  ('nejlika'),
  ('muskotnöt'),
  ('saffran'),
  ('paprikapulver'),
  ('curry'),
  ('spiskummin'),
  ('chilipulver'),
  ('senap'),
  ('söt senap'),
  ('kinesisk soja'),
  ('vinäger'),
  ('ättiksprit'),
  ('kapris'),
  ('pepparrot'),
  ('vitlök'),
  ('vaniljstång'),
  ('potatis'),
  ('fast potatis'),
  ('mjölig potatis'),
  ('färskpotatis'),
  ('gul lök'),
  ('rödlök'),
  ('schalottenlök'),
  ('purjolök'),
  ('morot'),
  ('palsternacka'),
  ('rotselleri'),
  ('kålrot'),
  ('rödbeta'),
  ('inlagda rödbetor'),
  ('vitkål'),
  ('rödkål'),
  ('spetskål'),
  ('blomkål'),
  ('broccoli'),
  ('spenat'),
  ('grönkål'),
  ('gröna ärtor'),
  ('gula ärtor'),
  ('bruna bönor'),
  ('vita bönor'),
  ('kikärtor'),
  ('röda linser'),
  ('gurka'),
  ('ättiksgurka'),
  ('tomat'),
  ('körsbärstomater'),
  ('krossade tomater'),
  ('tomatpuré'),
  ('paprika'),
  ('champinjoner'),
  ('kantareller'),
  ('zucchini'),
  ('aubergine'),
  ('isbergssallad'),
  ('ruccola'),
  ('majs'),
  ('sparris'),
  ('blekselleri'),
  ('fänkål'),
  ('rädisor'),
  ('äpple'),
  ('päron'),
  ('citron'),
  ('lime'),
  ('apelsin'),
  ('banan'),
  ('jordgubbar'),
  ('hallon'),
  ('blåbär'),
  ('lingon'),
  ('lingonsylt'),
  ('hallonsylt'),
  ('jordgubbssylt'),
  ('äppelmos'),
  ('rabarber'),
  ('svarta vinbär'),
  ('plommon'),
  ('blandfärs'),
  ('nötfärs'),
  ('fläskfärs'),
  ('högrev'),
  ('oxfilé'),
  ('fläskfilé'),
  ('fläskkotlett'),
  ('rimmat sidfläsk'),
  ('bacon'),
  ('fläsklägg'),
  ('kokt skinka'),
  ('falukorv'),
  ('prinskorv'),
  ('lammstek'),
  ('lever'),
  ('kycklingfilé'),
  ('hel kyckling'),
  ('kycklinglår'),
  ('lax'),
  ('rökt lax'),
  ('torsk'),
  ('sej'),
  ('strömming'),
  ('sill'),
  ('saltsill'),
  ('ansjovis'),
  ('räkor'),
  ('kräftor'),
  ('musslor'),
  ('makrill'),
  ('rödspätta'),
  ('kaviar'),
  ('tonfisk'),
  ('ris'),
  ('grötris'),
  ('basmatiris'),
  ('spagetti'),
  ('makaroner'),
  ('bulgur'),
  ('couscous'),
  ('köttbuljong'),
  ('kycklingbuljong'),
  ('grönsaksbuljong'),
  ('fiskbuljong'),
  ('kalvfond'),
  ('olivolja'),
  ('rapsolja'),
  ('majonnäs'),
  ('ketchup'),
  ('mangochutney'),
  ('rött vin'),
  ('vitt vin'),
  ('saft'),
  ('knäckebröd');

COMMIT;
