-- A canvas as the Qt 4 program wrote it: booleans as the texts true and
-- false, 10-field font descriptions (weight 75 is bold), and a genes table
-- without the note, locusTag and metadata columns. Matching id 1 is used
-- twice.
CREATE TABLE file_properties ( key TEXT , value TEXT );
INSERT INTO file_properties VALUES ( 'version' , 1 );
INSERT INTO file_properties VALUES ( 'type' , 'kestalcanvas' );
CREATE TABLE scene ( x REAL , y REAL , width REAL , height REAL , margin REAL , separationBetweenGenomes REAL );
INSERT INTO scene VALUES ( 0.0 , -50.0 , 800.0 , 500.0 , 30.0 , 7.0 );
CREATE TABLE genomes ( id INTEGER , place INTEGER , x REAL , y REAL , name TEXT , nucfrom INTEGER , nucto INTEGER , orientation INTEGER , pixPerNuc REAL , dnaSequence TEXT , showGenes INTEGER , showAnotations INTEGER , showMatchings INTEGER , showRuler INTEGER , showText INTEGER , textColor TEXT , textFont TEXT , textX INTEGER , textY INTEGER , textAngle REAL , textPositionFlag REAL , heightBig REAL , heightSmall REAL , headLength REAL , lineColor TEXT , fillColor TEXT , arrowStyle INTEGER , visible INTEGER );
INSERT INTO genomes VALUES ( 1 , 0 , 30.0 , 0.0 , 'Old top' , 1 , 60 , 1 , 2.5 , 'ACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGT' , 'false' , 'true' , 'true' , 'true' , 'true' , '#aa0000' , 'Sans Serif,11,-1,5,75,0,0,0,0,0' , 0.5 , -14 , 0.0 , 1.0 , 5.0 , 4.0 , 3.0 , '#000000' , '#1874cd' , 1 , 'true' );
INSERT INTO genomes VALUES ( 4 , 1 , 30.0 , 300.0 , 'Old low' , 1 , 60 , -1 , 2.5 , 'ACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGTTGCAACGT' , 'true' , 'true' , 'true' , 'false' , 'true' , '#000000' , 'Sans Serif,9,-1,5,50,0,0,0,0,0' , 0 , 0 , 0.0 , 1.0 , 5.0 , 4.0 , 3.0 , '#000000' , '#1874cd' , 0 , 'false' );
CREATE TABLE genes ( id INTEGER , genomeId INTEGER  , y REAL , name TEXT , nucfrom INTEGER , nucto INTEGER , orientation INTEGER , showText INTEGER , heightBig REAL , heightSmall REAL , headLength REAL , lineColor TEXT , fillColor TEXT , arrowStyle INTEGER );
INSERT INTO genes VALUES ( 0 , 1 , -8.0 , 'first' , 2 , 20 , 1 , 'true' , 6.0 , 4.0 , 3.0 , '#000000' , '#00aa00' , 1 );
INSERT INTO genes VALUES ( 1 , 1 , -8.0 , 'second' , 25 , 40 , -1 , 'false' , 6.0 , 4.0 , 3.0 , '#000000' , '#00aa00' , 1 );
INSERT INTO genes VALUES ( 2 , 1 , -8.0 , 'third' , 45 , 58 , 1 , 'true' , 6.0 , 4.0 , 3.0 , '#000000' , '#00aa00' , 0 );
INSERT INTO genes VALUES ( 0 , 4 , 8.0 , 'low first' , 3 , 30 , 1 , 'true' , 6.0 , 4.0 , 3.0 , '#000000' , '#00aa00' , 1 );
INSERT INTO genes VALUES ( 1 , 4 , 8.0 , 'low second' , 33 , 59 , -1 , 'true' , 6.0 , 4.0 , 3.0 , '#000000' , '#00aa00' , 1 );
CREATE TABLE anotations ( id INTEGER , genomeId INTEGER , y REAL , name TEXT , nucfrom INTEGER , nucto INTEGER , height REAL , showText INTEGER , textY REAL , textAngle REAL , textPositionFlag INTEGER , lineColor TEXT , fillColor TEXT , textColor TEXT , textFont TEXT ) ;
INSERT INTO anotations VALUES ( 1 , 1 , 10.0 , 'site' , 5 , 20 , 8.0 , 'false' , -6.0 , 30.0 , 1 , '#000000' , '#ffff00' , '#0000ff' , 'Sans Serif,8,-1,5,75,1,0,0,0,0' );
CREATE TABLE ruler ( genomeId INTEGER , y REAL , orientation INTEGER , textPlacement INTEGER , horizontalLineVisible INTEGER , style INTEGER , heightBig REAL , heightSmall REAL , nucsPerPeriod INTEGER , periodsPerBigLine INTEGER , pixsPerPeriod INTEGER , lineColor TEXT , textColor TEXT , textFont TEXT ) ;
INSERT INTO ruler VALUES ( 1 , -10.0 , 0 , 0 , 'false' , 1 , 10.0 , 5.0 , 10 , 4 , 15 , '#ff0000' , '#ff0000' , 'Sans Serif,7,-1,5,75,0,0,0,0,0' );
INSERT INTO ruler VALUES ( 4 , 10.0 , 2 , 1 , 'true' , 1 , 10.0 , 5.0 , 10 , 4 , 15 , '#ff0000' , '#ff0000' , 'Sans Serif,7,-1,5,50,0,0,0,0,0' );
CREATE TABLE genomematchings ( id INTEGER , topGenomeId INTEGER , topFrom  INTEGER , topTo INTEGER , lowGenomeId INTEGER , lowFrom INTEGER , lowTo INTEGER , similarity REAL , bitScore REAL , fillColor TEXT );
INSERT INTO genomematchings VALUES ( 1 , 1 , 1 , 30 , 4 , 31 , 60 , 95.5 , 60.0 , '#00ff00' );
INSERT INTO genomematchings VALUES ( 1 , 1 , 40 , 50 , 4 , 20 , 10 , 80.0 , 20.0 , '#ff00ff' );
CREATE TABLE freetext( x REAL, y REAL, color TEXT, font TEXT, angle REAL, positionFlag INTEGER, text TEXT );
INSERT INTO freetext VALUES ( 5.0 , 6.0 , '#333333' , 'Sans Serif,12,-1,5,75,0,0,0,0,0' , 10.0 , 1 , 'Old note' );
CREATE TABLE cog_matchings (id_cog_protein INTEGER, genomeId INTEGER, start INTEGER, end INTEGER, evalue REAL, bitscore REAL);
INSERT INTO cog_matchings VALUES ( 3 , 1 , 10 , 40 , 1e-20 , 55.5 );
INSERT INTO cog_matchings VALUES ( 4 , 1 , 45 , 58 , 1e-05 , 30.0 );
CREATE TABLE rfam_matchings (rfam_seqid INTEGER, genomeId INTEGER, start INTEGER, end INTEGER, evalue REAL, bitscore REAL);
CREATE TABLE rrna_matchings (rrna_seqid INTEGER, genomeId INTEGER, start INTEGER, end INTEGER, evalue REAL, bitscore REAL);
